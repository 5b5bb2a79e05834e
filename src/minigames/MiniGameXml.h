// Readers for the mini-game files and their piece scenes. A required
// attribute that is missing reads as 0, false or empty and leaves an Error row
// naming the file; scene elements carry their values as child elements.
#pragma once

#include <string>

#include "engine/XMLDocument.h"

namespace MiniGameXml {

float RequiredFloat(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file);
int RequiredInt(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file);
bool RequiredBool(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file);
std::string RequiredString(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file);

// The text of a child element ("" when absent) and its value as a number (a
// float that is not finite reads as 0, with an Error row).
std::string ChildText(const XMLDocument::XMLElement& element, const char* child);
float ChildFloat(const XMLDocument::XMLElement& element, const char* child);
int ChildInt(const XMLDocument::XMLElement& element, const char* child);
bool HasChild(const XMLDocument::XMLElement& element, const char* child);

}  // namespace MiniGameXml
