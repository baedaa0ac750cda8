#pragma once
// "lumora --dump-frames": the frame tree of a page as a frame viewer of a given size lays it
// out, one line per set or frame, indented two spaces per level.
#include <iosfwd>
#include <string>

class TFrameViewer;

// Writes the tree of the document viewer shows.
void DumpFrameTree(const TFrameViewer& viewer, std::ostream& out);

// Loads page in a frame viewer width x height pixels and dumps it. Errors go to err as
// "error: <text>"; returns 1 then.
int DumpFrames(const std::string& page, int width, int height, std::ostream& out,
               std::ostream& err);
