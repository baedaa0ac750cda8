#include "html/model/SelTextCount.h"

#include "base/Utf8.h"

#include <memory>

void SelTextCount::AddText(const char* text, int32_t len)
{
  for (int32_t i = 0; i < len; ++i)
    if (text[i] != 2 && text[i] != 4)
      ++Count;
}

void SelTextCount::AddTextCR(const char* text, int32_t len)
{
  AddText(text, len);
  AddText("\r\n", 2);
}

int32_t SelTextCount::Terminate()
{
  return Count;
}

SelTextBuf::SelTextBuf(char* buffer, int32_t size)
{
  Buf = buffer;
  BufSize = size;
}

void SelTextBuf::AddText(const char* text, int32_t len)
{
  int32_t i = 0;
  for (; i < len && Count < BufSize - 1; ++i)
    if (text[i] != 2 && text[i] != 4)
      Buf[Count++] = text[i];
  FFull = FFull || i < len;
}

int32_t SelTextBuf::Terminate()
{
  if (Utf8 && FFull)
    Count = int32_t(utf8::WholeLength(Buf, size_t(Count)));
  if (BufSize > 0)
    Buf[Count] = 0;
  return Count + 1;
}

ClipBuffer::ClipBuffer(int32_t size) : SelTextBuf(nullptr, 0)
{
  BufSize = size > 0 ? size : 1;
  FStorage = std::make_unique<char[]>(size_t(BufSize));
  Buf = FStorage.get();
}

ClipBuffer::~ClipBuffer() = default;

int32_t ClipBuffer::Terminate()
{
  return SelTextBuf::Terminate();
}
