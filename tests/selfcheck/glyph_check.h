// glyph_check.h - finding texts on screen that would be drawn as empty boxes.
#pragma once

#include <QString>
#include <vector>

class QWidget;

// A character of a shown text that neither the widget's font nor any
// fallback font Qt would pick can draw: it appears as an empty box.
struct MissingGlyph {
  char32_t code = 0;
  QString text;    // the whole text it belongs to
  QString family;  // the widget's font family
};

// Checks every text shown by root and its children that are visible with it:
// labels, buttons, group titles, combo box and list items, tab titles, edits
// and the window title. The English interface carries Chinese labels on some
// pages, so this applies in both languages.
std::vector<MissingGlyph> missingGlyphs(const QWidget* root);
