#pragma once
// The command-line modes of the source editor: a window holding just the editor box on a
// file, and printing a file through the editor's print operation to a PDF.
#include <iosfwd>
#include <memory>
#include <string>

class QWidget;

namespace editormodes {

// A window with the editor box on fileName; closing it over unsaved changes asks first. A load
// error is shown in the error box and the box stays empty.
std::unique_ptr<QWidget> NewEditWindow(const std::string& fileName);

// Prints fileName as the box's Print does (with highlighting unless withHighlighting is
// false) to the PDF out, and writes "pages=<count>". An error prints "error: <message>" on err
// and returns 1. Needs a running QApplication.
int PrintSource(const std::string& fileName, const std::string& out, bool withHighlighting,
                std::ostream& cout, std::ostream& err);

} // namespace editormodes
