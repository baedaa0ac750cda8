#pragma once
// Turning names found in pages into file paths.
#include <string>

namespace sourcename {

// Decodes %XX escapes (stopping at the first "%" that starts the name or is not followed by
// two hexadecimal digits); for names with "/" removes a "file://" scheme, maps "|" to ":"
// and backslashes to "/".
std::string UrlToPath(const std::string& name);

// Everything a name is resolved against.
struct TResolveContext {
  std::string ServerRoot;     // prefix for rooted names; no trailing separator
  std::string BaseURL;        // document base, "DosPath" to switch base resolution off
  std::string LoadedFileName; // the current document
};

// A page name as a full, normalised file path.
std::string Resolve(const std::string& name, const TResolveContext& context);

// "file#anchor" split at the first number sign; the anchor keeps no number sign.
void SplitAnchor(const std::string& name, std::string& file, std::string& anchor);

} // namespace sourcename
