#pragma once
// The headless command-line modes of the formula outline: evaluating one formula, and printing a
// tree file after one evaluation pass. Numbers are read and written in the C locale so that
// scripts can rely on them.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class TqvTreeView;

namespace outlinemodes {

// Evaluates formula with variables given as "NAME=VALUE" (names compared without regard to
// case, pi known unless given). Prints "value=<result>" and returns 0, or prints
// "error code=<code> pos=<position>" and returns 1; a malformed variable is reported on err
// and returns 2.
int EvalFormula(const std::string& formula, const std::vector<std::string>& variables,
                std::ostream& out, std::ostream& err);

// Loads a tree file into a tree view, evaluates all formulas once and prints the tree in the
// file format. A load error prints "error: <message>" on err and the nodes read before it on
// out, and returns 1. Needs a running QApplication; messages go through the dialogs in use.
int PrintOutline(const std::string& fileName, std::ostream& out, std::ostream& err);

// A window holding just a tree view on a file, set up as a page's panel would be (formulas in
// purple, Arial 10), loaded and evaluated; a load error is shown in the error box and the nodes
// read before it stay.
std::unique_ptr<TqvTreeView> NewTreeWindow(const std::string& fileName);

} // namespace outlinemodes
