#pragma once
// What the frameset reader asks of the frame viewer's set while it reads a FRAMESET: the
// viewer's TFrameSet and TSubFrameSet implement this, tests use a recording fake.
#include "html/parser/BuilderEvents.h"

class TAttributeList;

class TFrameSetReader {
public:
  virtual ~TFrameSetReader() = default;

  // A FRAMESET start: the set takes ROWS, COLS, BORDER... from the tag's attributes.
  virtual void InitFromAttributes(const TAttributeList& attributes) = 0;
  // A nested FRAMESET: a new child set, owned by this one; null skips its content.
  virtual TFrameSetReader* AddFrameSet() = 0;
  // A FRAME: a new child frame made from the tag's attributes.
  virtual void AddFrame(const TAttributeList& attributes) = 0;
  // The FRAMESET end (or the end of the input): dimensions are completed here.
  virtual void Complete() = 0;
  // Called for SCRIPT elements inside the set; empty skips them.
  virtual TScriptEvent ScriptHandler() const { return nullptr; }
};
