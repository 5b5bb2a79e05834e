#include "StoryScenes.h"

#include <algorithm>

#include "engine/XMLDocument.h"

namespace contenttest {

namespace {

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

std::vector<StoryPlace> StoryPlaces() {
    std::vector<StoryPlace> places;
    XMLDocument map = XMLDocument::FromFile("data/GlobalMapScreen.xml");
    if (!map.IsLoaded()) return places;
    for (const auto& node : map.GetRoot()->GetChildren()) {
        if (node->GetName() != "LevelNode") continue;
        StoryPlace place;
        place.node = node->GetStringAttribute("Name");
        std::string scene = Slashed(node->GetStringAttribute("Level"));
        while (!scene.empty() && place.scenes.size() < 8) {
            place.scenes.push_back(scene);
            XMLDocument doc = XMLDocument::FromFile(scene);
            const std::string next = doc.IsLoaded() ? doc.GetRoot()->GetStringAttribute("SceneToLoadOnFinish") : "";
            place.final = next == "Final";
            scene = place.final ? std::string() : Slashed(next);
        }
        places.push_back(place);
    }
    return places;
}

std::vector<std::string> StoryScenes() {
    std::vector<std::string> scenes;
    for (const StoryPlace& place : StoryPlaces()) scenes.insert(scenes.end(), place.scenes.begin(), place.scenes.end());
    return scenes;
}

}  // namespace contenttest
