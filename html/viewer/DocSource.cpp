#include "html/viewer/DocSource.h"

#include "html/parser/Builder.h"
#include "html/viewer/DocumentStart.h"

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

bool TDocSource::IsFrameSet() const
{
  std::string start;
  if (Kind == dsFile && docstart::Read(FileName, docstart::MostPart, start)) {
    const TBuilder::TFrameSetVerdict verdict =
        TBuilder().FrameSetVerdict(TParseSource::FromString(start));
    if (verdict != TBuilder::fvUnknown)
      return verdict == TBuilder::fvYes;
  }
  return TBuilder().HasFrameSet(Parse());
}
