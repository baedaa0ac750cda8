#pragma once
// Reads GIF data into a TGIFImage: the block structure, the frames and their pixels.
//
// Every length found in the data is checked against the bytes that remain. A file cut short
// keeps the frames whose data ended within it. Declared sizes are capped so that a few bytes
// cannot ask for gigabytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TGIFImage;
class TGIFFrame;
class TLZWDecoder;

class TGIFReader {
public:
  static constexpr int MaxDimension = 16384;
  // Pixels of all frames together, and of the logical screen. Lowered by the fuzz targets.
  static inline int64_t MaxPixels = int64_t(1) << 26;

  TGIFReader(TGIFImage& image, std::span<const uint8_t> data);
  ~TGIFReader();
  // Reads the blocks into frames; false when the data are not a GIF or hold no complete frame.
  bool Read();

private:
  bool Has(size_t n) const { return size_t(FEnd - FPos) >= n; }
  int Byte() { return *FPos++; }
  int Word();
  bool ReadHeader();
  bool ReadExtension();
  bool ReadFrame();
  bool ReadDescriptor(TGIFFrame& frame);
  bool ReadSubBlocks(std::vector<uint8_t>* out);
  bool ReadSubBlocks(std::string& out);
  void ApplyControl(TGIFFrame& frame) const;
  bool DecodePixels(TGIFFrame& frame, int minCodeSize);

  TGIFImage& FImage;
  const uint8_t* FPos;
  const uint8_t* FEnd;
  int32_t FDeclaredWidth = 0, FDeclaredHeight = 0;
  uint8_t FControl[6] = {};
  bool FHasControl = false;
  std::string FComment;
  int64_t FPixels = 0;
  std::vector<uint8_t> FCodes;
  std::vector<uint8_t> FIndices;
  std::unique_ptr<TLZWDecoder> FDecoder;
};
