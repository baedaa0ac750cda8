#pragma once
// The part of a form control that text layout needs: its window control, its place in the
// text and its size. The form classes derive from it.
#include "platform/EmbeddedControl.h"

#include <cstdint>
#include <memory>
#include <string>

class TCanvas;
class TDocument;
class ThtmlForm;

class TFormControlObj {
public:
  TFormControlObj(TDocument* doc, int32_t pos) : Pos(pos), Doc(doc) {}
  virtual ~TFormControlObj() = default;

  int32_t Pos;
  TDocument* Doc;
  ThtmlForm* Form = nullptr;
  std::string Value;
  std::string Name;
  bool IsBox = false;                           // check boxes and radio buttons sit on the baseline
  std::unique_ptr<TEmbeddedControl> TheControl; // made by the host; freed with this object
  bool ShowIt = false;
  bool Placed = false; // placed in the last paint
  int32_t YValue = 0;  // y of the line it stands on

  virtual TEmbeddedControl* ActiveControl() { return TheControl.get(); }
  virtual void Print(TCanvas& canvas, int32_t X, int32_t Y) { (void)canvas, (void)X, (void)Y; }
  virtual void ResetToValue() {}
  virtual bool GetSubmission(int index, std::string& s)
  {
    (void)index, (void)s;
    return false;
  }
  virtual void SetSizes(TCanvas& canvas) { (void)canvas; }

  int32_t Width() const { return TheControl ? TheControl->Width() : 0; }
  int32_t Height() const { return TheControl ? TheControl->Height() : 0; }
};
