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
