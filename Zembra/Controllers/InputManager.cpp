// InputManager: combines the answers of the owned Input devices.
#include "Zembra/Controllers/InputManager.h"

#include "Zembra/Controllers/Input.h"

InputManager::InputManager()
{
}

InputManager::~InputManager()
{
    clear();
}

void InputManager::addInput(std::unique_ptr<Input> input)
{
    m_inputs.push_back(std::move(input));
}

void InputManager::update()
{
    for (const std::unique_ptr<Input>& input : m_inputs) {
        if (input)
            input->update();
    }
}

int InputManager::getDirections() const
{
    int directions = 0;
    for (const std::unique_ptr<Input>& input : m_inputs) {
        if (input)
            directions |= input->getDirections();
    }
    return directions;
}

int InputManager::getButtons() const
{
    int buttons = 0;
    for (const std::unique_ptr<Input>& input : m_inputs) {
        if (input)
            buttons |= input->getButtons();
    }
    return buttons;
}

bool InputManager::isQuitRequested() const
{
    for (const std::unique_ptr<Input>& input : m_inputs) {
        if (input && input->isQuitRequested())
            return true;
    }
    return false;
}

void InputManager::clear()
{
    // In insertion order: clear() alone promises no order of destruction.
    for (std::unique_ptr<Input>& input : m_inputs)
        input.reset();
    m_inputs.clear();
}
