#include "arj/result_code.h"

namespace arj {

const char *result_text(int code) {
  switch (code) {
    case kOk: return "ok";
    case kNoSuchEntry: return "no entry of that number";
    case kNoMainHeader: return "the archive has no main header";
    case kBadHeaderMarker: return "damaged entry header";
    case kBadCode: return "damaged packed data";
    case kCannotOpen: return "cannot open the file";
    case kArchiveTruncated: return "the archive ends too early";
    case kWriteFailed: return "cannot write the output";
    case kCrcMismatch: return "CRC error in the unpacked data";
    case kEnciphered: return "the entry is enciphered";
    case kHeaderCrcMismatch: return "header CRC error";
    case kOutOfMemory: return "out of memory";
    case kNoArchive: return "not an archive: no header block found";
    case kUnsupportedMethod: return "unsupported method";
    case kBadContentType: return "unsupported content type";
    case kVersionTooNew: return "needs a newer version to extract";
    default: return "unknown result";
  }
}

}  // namespace arj
