#pragma once
// "lumora --print": a page printed to a PDF file through the frame viewer's Print, the code
// the Print button runs.
#include <iosfwd>
#include <string>

struct TPrintPageOptions {
  std::string Page;
  std::string Out;
  int From = 1;
  int To = 999999;
  double Margins[4] = {2.0, 2.0, 2.0, 2.0}; // left, top, right, bottom in centimetres
  bool Letter = false;                      // A4 otherwise
};

// Reads "L,T,R,B" (centimetres, none negative); false on anything else.
bool ParseMargins(const std::string& text, double margins[4]);

// Prints and writes "pages=<count printed>" to out; errors go to err as "error: <text>" with
// a non-zero result and no file left behind.
int PrintPage(const TPrintPageOptions& options, std::ostream& out, std::ostream& err);
