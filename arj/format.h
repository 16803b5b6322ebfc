// Constants of the archive format, shared by the reader and our writer.
#ifndef ARJ_FORMAT_H
#define ARJ_FORMAT_H

#include <cstdint>

namespace arj {

constexpr std::uint8_t kMarkerByte0 = 0x60;
constexpr std::uint8_t kMarkerByte1 = 0xEA;
constexpr std::uint16_t kHeaderMarker = 0xEA60;
constexpr int kMaxBasicSize = 2600;
constexpr int kFirstSize = 30;              // fixed part of a basic header
constexpr long kScanLimit = 500000;         // header scan stops before this offset

constexpr int kWindowSize = 26624;          // sliding window of every method
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;

// Basic header field offsets.
constexpr int kOffFirstSize = 0;
constexpr int kOffArchiverVersion = 1;
constexpr int kOffMinVersion = 2;
constexpr int kOffOriginOs = 3;
constexpr int kOffHeaderFlags = 4;
constexpr int kOffPackMethod = 5;
constexpr int kOffContentType = 6;
constexpr int kOffReserved = 7;
constexpr int kOffModifiedTime = 8;
constexpr int kOffPackedSize = 12;
constexpr int kOffOriginalSize = 16;
constexpr int kOffDataCrc = 20;
constexpr int kOffNameOffset = 24;
constexpr int kOffAccessMode = 26;
constexpr int kOffOriginData = 28;

constexpr std::uint8_t kOsMsdos = 0;
constexpr std::uint8_t kOsUnix = 2;
constexpr std::uint8_t kOsWin32 = 10;

constexpr std::uint8_t kFlagEnciphered = 0x01;
constexpr std::uint8_t kFlagPathSymbol = 0x10;

constexpr int kMethodStored = 0;
constexpr int kMethodLzh = 1;   // methods 1 to 3 share one stream format
constexpr int kMethod4 = 4;

constexpr int kContentBinary = 0;
constexpr int kContentText = 1;
constexpr int kContentMainHeader = 2;

// Alphabets of the method 1-3 stream.
constexpr int kLitLenSymbols = 510;        // 256 literals + match lengths 3..256
constexpr int kCodeLenSymbols = 19;
constexpr int kDistanceSymbols = 17;
constexpr int kMaxCodeLength = 16;

}  // namespace arj

#endif  // ARJ_FORMAT_H
