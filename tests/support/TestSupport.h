#pragma once
// Small helpers shared by the tests.
#include <QString>
#include <string>
#include <string_view>

namespace testsupport {

// Path of a file in tests/data.
std::string DataPath(const std::string& name);

// A fresh, empty directory that lives until the process ends.
QString TempDir();

// Writes bytes to a file, creating folders as needed; returns the full path.
std::string WriteFile(const QString& dir, const std::string& name, const std::string& bytes);
// The bytes of a file, empty when it cannot be read.
std::string ReadFile(const std::string& path);

// A case description made fit for a test name: letters and digits kept, anything else '_'.
std::string CaseName(std::string_view text);

// Names each case of a parameterised suite after its Name field.
struct NamedAfterCase {
  template <class Info> std::string operator()(const Info& info) const
  {
    return CaseName(info.param.Name);
  }
};

} // namespace testsupport
