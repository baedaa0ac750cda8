#pragma once
// Collectors for selected text: count it, copy it into a caller's buffer, or copy it into an
// own buffer that finally goes to the clipboard.
#include <cstdint>
#include <memory>
#include <string>

class SelTextCount {
public:
  virtual ~SelTextCount() = default;
  char* Buf = nullptr;
  int32_t BufSize = 0;
  int32_t Count = 0;

  // Takes the characters except the placeholder codes 2 and 4.
  virtual void AddText(const char* text, int32_t len);
  void AddTextCR(const char* text, int32_t len);
  virtual int32_t Terminate();
};

class SelTextBuf : public SelTextCount {
public:
  SelTextBuf(char* buffer, int32_t size);
  void AddText(const char* text, int32_t len) override;
  int32_t Terminate() override;
  // The text is UTF-8: a character the buffer's end would cut is left out whole.
  bool Utf8 = false;

private:
  bool FFull = false;
};

class ClipBuffer : public SelTextBuf {
public:
  static constexpr int32_t DefaultSize = 32500;
  explicit ClipBuffer(int32_t size = DefaultSize);
  ~ClipBuffer() override;
  ClipBuffer(const ClipBuffer&) = delete;
  ClipBuffer& operator=(const ClipBuffer&) = delete;
  // Terminates and puts the text on the clipboard (when there is one).
  int32_t Terminate() override;
  std::string Text() const { return std::string(Buf, size_t(Count)); }

private:
  std::unique_ptr<char[]> FStorage;
};
