#include "html/parser/Builder.h"

#include "base/Exceptions.h"

// The frameset reader: the head of a document for the frame viewer and its FRAMESET tree.

bool TBuilder::ShowsBodyContent(TSymbol s)
{
  static const TSymbolSet body =
      SetOf({symBODY, symP, symH, symHR, symOL, symUL, symDIR, symMENU, symDL, symADDRESS,
             symBLOCKQUOTE, symPRE, symIMG, symTABLE, symFORM});
  return body.test(s);
}

void TBuilder::SkipTo(TSymbol endSym)
{
  while (Sym() != endSym && Sym() != symEof)
    Next();
}

bool TBuilder::ReadFrameDocument(const TParseSource& source, TFrameSetReader& frameset,
                                 const TParseEvents& events)
{
  bool isFrameSet = false;
  try {
    Start(source, nullptr, nullptr, events);
    // The frame viewer's own meta handler takes the charset of a frameset document.
    FApplyMetaCharset = false;
    FScriptHandler = frameset.ScriptHandler();
    FTok.RawScriptBody = bool(FScriptHandler);
    FTok.Prime();
    while (Sym() != symEof && !ShowsBodyContent(Sym())) {
      switch (Sym()) {
      case symTITLE: DoTitle(); continue;
      case symBASE: DoBase(); break;
      case symBGSOUND: DoSound(); break;
      case symMETA: DoMeta(); break;
      case symSCRIPT: ReadScript(FScriptHandler); break;
      case symNOFRAMES: SkipTo(symNOFRAMESEnd); break;
      case symFRAMESET:
        isFrameSet = true;
        ReadFrameSet(frameset, 0);
        break;
      default: break;
      }
      Next();
    }
  } catch (const EParseError&) {
    // Errors in the source are swallowed: what was read stands.
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  FApplyMetaCharset = true;
  return isFrameSet;
}

// At a FRAMESET; leaves its end tag (or the end of the input) current.
void TBuilder::ReadFrameSet(TFrameSetReader& frameset, int depth)
{
  frameset.InitFromAttributes(Attrs());
  struct TComplete {
    TFrameSetReader& Set;
    ~TComplete() { Set.Complete(); }
  };
  TComplete complete{frameset};
  Next();
  while (Sym() != symFRAMESETEnd && Sym() != symEof) {
    switch (Sym()) {
    case symFRAMESET:
      if (depth < MaxNesting) {
        if (TFrameSetReader* child = frameset.AddFrameSet())
          ReadFrameSet(*child, depth + 1);
        else
          SkipTo(symFRAMESETEnd);
      }
      break;
    case symFRAME: frameset.AddFrame(Attrs()); break;
    case symNOFRAMES: SkipTo(symNOFRAMESEnd); break;
    case symSCRIPT: ReadScript(FScriptHandler); break;
    default: break;
    }
    Next();
  }
}

bool TBuilder::HasFrameSet(const TParseSource& source)
{
  return FrameSetVerdict(source) == fvYes;
}

TBuilder::TFrameSetVerdict TBuilder::FrameSetVerdict(const TParseSource& source)
{
  TFrameSetVerdict result = fvUnknown;
  try {
    Start(source, nullptr, nullptr, TParseEvents());
    FTok.Prime();
    while (Sym() != symEof) {
      if (Sym() == symFRAMESET || ShowsBodyContent(Sym())) {
        result = Sym() == symFRAMESET ? fvYes : fvNo;
        break;
      }
      if (Sym() == symSCRIPT)
        SkipTo(symSCRIPTEnd);
      Next();
    }
  } catch (const EParseError&) {
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  return result;
}
