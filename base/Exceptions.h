#pragma once
// Failures that reach the user carry a fixed text; the application's error box shows it.
#include <stdexcept>
#include <string>

class ELumoraError : public std::runtime_error {
public:
  explicit ELumoraError(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// Raised by the tokenizer for an unterminated comment; the partial document is kept.
class EParseError : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

// Raised by a block's layout; the block is dropped from its cell after one error box.
class EProcessError : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

// Errors raised by the viewer controls and the frame viewer.
class EViewerError : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

namespace msg {
inline const char* const OpenComment = "Open Comment at End of HTML File";
inline const char* const CantLocateFile = "Can't locate file: ";
inline const char* const CantLoad = "Can't load: ";
inline const char* const SelectionTooBig = "Selected text exceeds buffer size";
inline const char* const OutOfResources = "Out of Resources";
inline const char* const TooManyColumns = "Table has too many Columns";
} // namespace msg
