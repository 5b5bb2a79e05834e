// The GUI tests' headless engine, built into this test program as well.
#include "gui/GuiTestEngine.cpp"
