#include "html/viewer/DocSource.h"

TParseSource TDocSource::Parse() const
{
  switch (Kind) {
  case dsBuffer: return TParseSource::FromBuffer(Buffer, BuffSize);
  case dsStrings: return TParseSource::FromStrings(*Strings);
  case dsStream:
    Stream->clear();
    Stream->seekg(0);
    return TParseSource::FromStream(*Stream);
  case dsFile: break;
  }
  return TParseSource::File(FileName);
}
