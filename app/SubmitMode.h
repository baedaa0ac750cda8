#pragma once
// "lumora --submit": a page's form filled and submitted from the command line, through the
// same viewer, widgets and submit event the main window uses, with the event's arguments
// printed instead of saved.
#include <iosfwd>
#include <string>
#include <vector>

struct TSubmitRequest {
  std::string Page;
  int Form = 1;                    // counted from 1 in document order
  std::vector<std::string> Sets;   // NAME=VALUE, in order
  std::vector<std::string> Checks; // NAME or NAME=VALUE
  std::string Click;               // the submit or image button; empty for the first
  std::string At;                  // "X,Y" on an image button; empty for 0,0
};

// Loads the page, fills and submits the form and writes
//   action="..." target="..." enctype="..." method="..."
// followed by one result line each. A mistake is written to err as "error: <text>" and
// returns 1; success returns 0. Needs the application object.
int SubmitPage(const TSubmitRequest& request, std::ostream& out, std::ostream& err);
