// Generated scenes of the game_frames scaling run: the study's background and
// its pictures (the units of data/Scenes/Study.xml, same resource file and
// group) with the given number of objects scattered over the picture at
// places drawn from a fixed seed, each object the single item of its own
// task, so the level is an ordinary find-all level of that size.
#pragma once

#include <string>

// Writes "<folder>/Scale<objects>.xml" and returns its path; empty (and a
// line on stderr) when the study cannot be read or the file not written.
std::string WriteScaleScene(const std::string& folder, int objects);
