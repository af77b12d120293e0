#pragma once

#include <exception>

// The program's last word on an error that no caller handled: a message box
// with the error's text (silent aborts show nothing). Event handlers catch
// everything and end here, so no exception crosses Qt's event loop.
void ShowException(const std::exception& error);

// Runs an action, showing whatever it throws.
template <typename Action>
void RunGuarded(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}
