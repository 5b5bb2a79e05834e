#include "support/TestInput.h"

#include "platform/FrameDriver.h"

namespace TestInput {

void Move(float x, float y) {
    InputEvent ev;
    ev.kind = InputEvent::Move;
    ev.x = x;
    ev.y = y;
    FrameDriver::Inject(ev);
}

void Key(InputEvent::Kind kind, int key) {
    InputEvent ev;
    ev.kind = kind;
    ev.key = key;
    FrameDriver::Inject(ev);
}

void Text(const std::string& text) {
    InputEvent ev;
    ev.kind = InputEvent::Char;
    ev.text = text;
    FrameDriver::Inject(ev);
}

void Close() {
    InputEvent ev;
    ev.kind = InputEvent::Close;
    FrameDriver::Inject(ev);
}

}  // namespace TestInput
