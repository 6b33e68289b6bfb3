// Input: one polled input device (keyboard, pad). Owners call update() once per
// frame; the queries then answer from that snapshot. Direction bits: up 1, right 2,
// down 4, left 8. Button bits: see the device. Deleted through Input pointers.
#pragma once

class Input {
public:
    enum Direction { DIR_UP = 1, DIR_RIGHT = 2, DIR_DOWN = 4, DIR_LEFT = 8 };

    virtual ~Input() {}

    virtual int getDirections() = 0;
    virtual int getButtons() = 0;
    virtual bool isQuitRequested() = 0;
    // Refreshes the device's state from the platform.
    virtual void update() = 0;
};
