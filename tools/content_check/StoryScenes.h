// The story as the data strings it together: the map's level nodes in file
// order, each with its place's scenes (the node's "Level", then each scene's
// "SceneToLoadOnFinish" up to the map or the final screen). The checks that
// hold the story's own floors walk these scenes, so a scene joins them by
// being put into the chain.
#pragma once

#include <string>
#include <vector>

namespace contenttest {

struct StoryPlace {
    std::string node;                 // the level node's "Name"
    std::vector<std::string> scenes;  // "data/Scenes/...", in play order
    bool final = false;               // the last scene leads to the final screen
};

// An empty list when the map does not load; a chain that loops stops after
// eight scenes.
std::vector<StoryPlace> StoryPlaces();
// Every scene of the story, in play order.
std::vector<std::string> StoryScenes();

}  // namespace contenttest
