#pragma once
// The layout of a page as text: parsed and laid out as the main window's viewer would show it,
// then written through the section list's dump. Used by "lumora --dump-layout" and by tests
// that compare layouts.
#include <iosfwd>
#include <string>

// Parses page (".txt" files as plain text, everything else as HTML), lays it out at width
// pixels and writes the dump to out. Errors that the viewer would show in its error box are
// written to err as "error: <message>" and the dump goes on. Returns 1 when the page does not
// exist (after "error: Can't locate file: <page>"), else 0.
int DumpLayout(const std::string& page, int width, std::ostream& out, std::ostream& err);
