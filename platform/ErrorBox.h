#pragma once
// The application's standard error box: an exception's message in a plain message box.
#include <exception>
#include <string>

// Shows the message of an exception that reached the top of an event.
void ShowException(const std::exception& e);
// Shows a failure whose type is unknown.
void ShowUnknownException();
// The text the error box shows for an exception.
std::string ExceptionText(const std::exception& e);

#include <functional>

// Runs fn and shows any exception that escapes it in the error box; false if one did. This is
// the one place where failures that reach the top of an event are reported.
bool CallGuarded(const std::function<void()>& fn);
