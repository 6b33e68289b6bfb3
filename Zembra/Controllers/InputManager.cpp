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

void InputManager::addInput(Input* input)
{
    m_inputs.push_back(input);
}

void InputManager::update()
{
    for (Input* input : m_inputs) {
        if (input)
            input->update();
    }
}

int InputManager::getDirections() const
{
    int directions = 0;
    for (Input* input : m_inputs) {
        if (input)
            directions |= input->getDirections();
    }
    return directions;
}

int InputManager::getButtons() const
{
    int buttons = 0;
    for (Input* input : m_inputs) {
        if (input)
            buttons |= input->getButtons();
    }
    return buttons;
}

bool InputManager::isQuitRequested() const
{
    for (Input* input : m_inputs) {
        if (input && input->isQuitRequested())
            return true;
    }
    return false;
}

void InputManager::clear()
{
    for (Input* input : m_inputs)
        delete input;
    m_inputs.clear();
}
