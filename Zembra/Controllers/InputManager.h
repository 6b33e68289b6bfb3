// InputManager: owns the input devices of the run (in insertion order) and answers
// for all of them at once: bitwise OR of directions and buttons, any quit request.
// Devices are owned by the manager; not copyable.
#pragma once

#include <memory>
#include <vector>

class Input;

class InputManager {
public:
    InputManager();
    ~InputManager();

    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // Takes ownership of input.
    void addInput(std::unique_ptr<Input> input);
    void update();  // every device, in insertion order

    int getDirections() const;     // 0 without devices
    int getButtons() const;        // 0 without devices
    bool isQuitRequested() const;  // false without devices

    // Deletes every device in insertion order and empties the list.
    void clear();

private:
    std::vector<std::unique_ptr<Input>> m_inputs;
};
