// Whether a dialog shows the message of a text-table key: the letters it draws
// are those of the key's text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "entities/core/EntityServices.h"
#include "entities/screens/Dialog.h"
#include "graphics/FontRegistry.h"
#include "support/engine/DrawnText.h"

inline ::testing::AssertionResult ShowsMessage(Dialog* dialog, const std::string& key) {
    if (!dialog) return ::testing::AssertionFailure() << "no dialog";
    bool found = false;
    const std::string expected = Ink(ZOLTFramework::Services::Text(dialog->GetEngine(), key, &found));
    if (!found) return ::testing::AssertionFailure() << "no text for " << key;
    const std::string drawn =
        Ink(LettersDrawn(DrawnBy(ZOLTFramework::Services::Hge(dialog->GetEngine()), dialog), FontRegistry::GetFont("Default14")));
    if (drawn == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the dialog shows \"" << drawn << "\", not " << key << " (\"" << expected
                                         << "\")";
}
