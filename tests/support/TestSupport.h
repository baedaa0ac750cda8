#pragma once
// Small helpers shared by the tests.
#include <QString>
#include <string>

namespace testsupport {

// Path of a file in tests/data.
std::string DataPath(const std::string& name);

// A fresh, empty directory that lives until the process ends.
QString TempDir();

// Writes bytes to a file, creating folders as needed; returns the full path.
std::string WriteFile(const QString& dir, const std::string& name, const std::string& bytes);
// The bytes of a file, empty when it cannot be read.
std::string ReadFile(const std::string& path);

} // namespace testsupport
