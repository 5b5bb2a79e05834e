// Scene files of the scene tests, over the fixture units of SceneTestEngine.
#pragma once

// Units, objects, tasks, conditions, a pair, marks, a tool and a title;
// and a few faults: an object without "x" or "z", one naming no unit, a
// mark naming nothing, a task child without "name".
inline const char* const kFixtureScene = R"(<scene res_file="data\Scenes\Fixture" res_group="10" type="FindAll"
    SceneToLoadOnFinish="Next" CigarsCount="2" TimePassed="30" SceneName="SCENE_FIXTURE">
  <object><id>1</id><name>square</name><x>300</x><y>200</y><z>10</z></object>
  <unit><sprite>Square</sprite><id>1</id></unit>
  <unit><sprite>Disc</sprite><id>2</id><last_frame_on_delay>0</last_frame_on_delay></unit>
  <unit><animation>box_Fixture</animation><id>3</id><delay>0.5</delay></unit>
  <unit><sprite>Key</sprite><id>4</id></unit>
  <object><id>2</id><name>disc</name><y>400</y><z>20</z></object>
  <object><id>3</id><name>musicbox</name><x>700</x><y>500</y></object>
  <object><id>9</id><name>ghost</name><z>5</z></object>
  <object><id>4</id><name>key</name><x>800</x><y>300</y><z>30</z></object>
  <task name="Shapes" type="And" text_singular="SHAPE" text_plural="SHAPES"><item name="square"/><item name="disc"/></task>
  <task name="Key" type="And"><item name="key"/></task>
  <task name="Box" type="Use" tool_to_find="key" tool_sprite="Key"><item name="musicbox"/><item/></task>
  <task name="Hidden" type="And"><item name="disc"/></task>
  <task_condition><action type="ShowHint" name="Welcome"/></task_condition>
  <task_condition><finished_task name="OnWin"/><action type="AddCigars" name="1"/></task_condition>
  <task_condition><finished_task name="Hidden"/><action type="IgnoreAdding" name="x"/></task_condition>
  <task_condition><finished_task name="Key"/><action type="IgnoreHinting" name="x"/><action type="Say" name="Hi"/></task_condition>
  <pair name1="square" name2="disc"/>
  <solve_later_object name="disc"/>
  <solve_later_object name="nobody"/>
  <tool spr_name="Key" obj_name="spare_key" tool_name="key" scale="0.5"/>
</scene>)";

// No tasks left: the win check sends the "OnWin" actions in file order, then "Win".
inline const char* const kFinishedScene = R"(<scene res_file="x" res_group="10" type="FindAll">
  <unit><sprite>Square</sprite><id>1</id></unit>
  <object><id>1</id><name>square</name><x>100</x><y>100</y><z>1</z></object>
  <task name="Cigar" type="And"><item name="square"/></task>
  <task_condition><finished_task name="Cigar"/><action type="AddCigars" name="1"/></task_condition>
  <task_condition><finished_task name="OnWin"/><action type="AddCigars" name="1"/><action type="Music" name="win"/></task_condition>
  <task_condition><finished_task name="OnWin"/><finished_task name="Cigar"/><action type="Never" name="x"/></task_condition>
  <task_condition><finished_task name="OnWin"/><action type="Fanfare" name="x"/></task_condition>
</scene>)";

// Two halves of a find-the-differences picture.
inline const char* const kDifferencesScene = R"(<scene res_file="x" res_group="10" type="FindDifferences">
  <unit><sprite>Disc</sprite><id>1</id></unit>
  <object><id>1</id><name>top</name><x>500</x><y>200</y><z>2</z></object>
  <object><id>1</id><name>bottom</name><x>500</x><y>584</y><z>2</z></object>
  <pair name1="top" name2="bottom"/>
</scene>)";
