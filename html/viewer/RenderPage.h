#pragma once
// Writes what a viewer shows of a page to a PNG file, without a screen.
#include <ostream>
#include <string>

// Loads page (which may end in "#anchor") into a viewer whose client area is width x height,
// lets it paint and writes the picture to outPng. Height 0 takes the whole document height.
// Animated images are moved on by `frames` animation steps before the picture is taken.
// Errors go to err as "error: <message>" and give 1; success gives 0. Needs a QApplication.
int RenderPage(const std::string& page, const std::string& outPng, int width, int height,
               std::ostream& err, int frames = 0);
