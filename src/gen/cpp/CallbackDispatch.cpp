#include "gen/cpp/CallbackDispatch.h"

#include <cstdio>

namespace ostra1516e {

std::atomic<bool> catchAllUnknownExceptions{true};

std::u16string messageFromWide(std::wstring const& text) {
  std::u16string units(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<uint32_t>(text[i]) & 0xFF);
  }
  return units;
}

namespace {

// Appends the UTF-16 units of the UTF-8 text in bytes; false, leaving units partly
// filled, when bytes are not well-formed UTF-8 (overlong forms, surrogates and values
// above U+10FFFF included).
bool appendUtf8(std::string const& bytes, std::u16string& units) {
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char const lead = static_cast<unsigned char>(bytes[i]);
    uint32_t code;
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
      units.push_back(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F, length = 2, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F, length = 3, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07, length = 4, minimum = 0x10000;
    } else {
      return false;
    }
    if (length > bytes.size() - i) return false;
    for (size_t k = 1; k < length; ++k) {
      unsigned char const next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return true;
}

}  // namespace

std::u16string messageFromBytes(std::string const& bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  if (appendUtf8(bytes, units)) return units;
  units.clear();
  for (char c : bytes) units.push_back(static_cast<unsigned char>(c));
  return units;
}

std::u16string currentExceptionMessage() {
  try {
    throw;
  } catch (rti1516e::Exception const& e) {
    return messageFromWide(e.what());
  } catch (std::exception const& e) {
    return messageFromBytes(e.what());
  } catch (std::string const& s) {
    return messageFromBytes(s);
  } catch (...) {
    return u"Unknown C++ exception";
  }
}

std::u16string undeliverableMessage(char const* nativeName) {
  std::u16string message = messageFromBytes(std::string(nativeName) + ": ");
  message += currentExceptionMessage();
  return message;
}

namespace {

std::string hexWord(int32_t word) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(word));
  return text;
}

}  // namespace

CallbackTarget& openCallbackArray(rti1516e::ByteWrapper& cursor) {
  int32_t const preMagic = cursor.readInt();
  if (preMagic != kPreMagic) {
    throw rti1516e::WireFormatError("malformed callback array: preMagic == PRE_MAGIC fails, "
                                    "the array starts with " + hexWord(preMagic));
  }
  int32_t const handle = cursor.readInt();
  CallbackTarget* target = FederateAmbassadorRegistry::lookup(handle);
  if (target == nullptr) {
    throw UndeliverableCallback("no federate ambassador is connected under handle " +
                                std::to_string(handle) +
                                " (never registered, or its ambassador was destroyed)");
  }
  return *target;
}

void closeCallbackArray(rti1516e::ByteWrapper& cursor) {
  size_t const at = cursor.offset();
  if (cursor.remaining() < 4) {
    throw rti1516e::WireFormatError("malformed callback array: postMagic == POST_MAGIC fails, "
                                    "the array ends at offset " +
                                    std::to_string(at + cursor.remaining()) +
                                    " where the arguments end at " + std::to_string(at));
  }
  int32_t const postMagic = cursor.readInt();
  if (postMagic != kPostMagic) {
    throw rti1516e::WireFormatError("malformed callback array: postMagic == POST_MAGIC fails, "
                                    "found " + hexWord(postMagic) + " at offset " +
                                    std::to_string(at));
  }
  if (cursor.remaining() != 0) {
    throw rti1516e::WireFormatError("malformed callback array: " +
                                    std::to_string(cursor.remaining()) +
                                    " bytes follow POST_MAGIC at offset " + std::to_string(at));
  }
}

}  // namespace ostra1516e
