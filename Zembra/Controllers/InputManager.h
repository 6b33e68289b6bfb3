// InputManager: owns the input devices of the run (in insertion order) and answers
// for all of them at once: bitwise OR of directions and buttons, any quit request.
// Devices are heap objects deleted by the manager; not copyable.
#pragma once

#include <vector>

class Input;

class InputManager {
public:
    InputManager();
    ~InputManager();

    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // Takes ownership of input.
    void addInput(Input* input);
    void update();  // every device, in insertion order

    int getDirections() const;     // 0 without devices
    int getButtons() const;        // 0 without devices
    bool isQuitRequested() const;  // false without devices

    // Deletes every device in insertion order and empties the list.
    void clear();

private:
    std::vector<Input*> m_inputs;
};
