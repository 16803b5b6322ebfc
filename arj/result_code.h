// The engine's vocabulary of results. Every engine operation ends with one of
// these values; 107 is never produced.
#ifndef ARJ_RESULT_CODE_H
#define ARJ_RESULT_CODE_H

namespace arj {

enum ResultCode : int {
  kOk = 0,
  kNoSuchEntry = 1,           // the archive has no entry of the number asked for
  kNoMainHeader = 100,        // the first header block found is an end marker
  kBadHeaderMarker = 101,     // entry header without 0x60 0xEA, or basic size above 2600
  kBadCode = 102,             // packed data does not form a valid code (stream damage)
  kCannotOpen = 103,          // the archive or the output file cannot be opened
  kArchiveTruncated = 104,    // the archive ends too early
  kWriteFailed = 105,         // writing the output failed
  kCrcMismatch = 106,         // unpacked data does not match its CRC
  kEnciphered = 108,          // the entry is enciphered
  kHeaderCrcMismatch = 109,   // a basic header's CRC does not match
  kOutOfMemory = 110,         // no memory for a buffer
  kNoArchive = 111,           // no header block found, or the main header lacks its marker
  kUnsupportedMethod = 112,   // method not 0..4, or 4 written by archiver version 1
  kBadContentType = 113,      // content type neither binary nor text
  kVersionTooNew = 114,       // minimum version above 3
};

// A short English description of a result, for tools and messages.
const char *result_text(int code);

}  // namespace arj

#endif  // ARJ_RESULT_CODE_H
