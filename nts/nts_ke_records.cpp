// NTS-KE records: a critical bit and a 15-bit type, a 16-bit body length, the body.
#include "nts_ke_records.h"

#include "base/byte_order.h"

namespace {

constexpr uint16_t kCriticalBit = 0x8000;
constexpr size_t kRecordHeaderSize = 4;

enum RecordType : uint16_t {
    kEndOfMessage = 0,
    kNextProtocol = 1,
    kError = 2,
    kWarning = 3,
    kAeadAlgorithm = 4,
    kNewCookie = 5,
    kNtpServer = 6,
    kNtpPort = 7,
};

void AppendRecord(std::vector<uint8_t>& out, uint16_t type, const std::vector<uint16_t>& body)
{
    AppendBigEndian16(out, kCriticalBit | type);
    AppendBigEndian16(out, static_cast<uint16_t>(body.size() * 2));
    for (uint16_t value : body) {
        AppendBigEndian16(out, value);
    }
}

// A host name or address in ASCII, nothing a log row or a lookup could trip on.
bool IsPrintableName(const uint8_t* body, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (body[i] <= ' ' || body[i] > '~') {
            return false;
        }
    }
    return length > 0;
}

NtsKeResponse Refused(NtsKeResponse response, NtsKeVerdict why, uint16_t type)
{
    response.verdict = why;
    response.recordType = type;
    response.cookies.clear();
    return response;
}

// What the records so far have settled, and the record a refusal is to be blamed on.
struct Reading {
    bool seenProtocol = false;
    bool seenAead = false;
    uint16_t blamed = 0;
};

// Each record's reader gives Incomplete to read on, or the verdict the response ends with.

NtsKeVerdict ReadEndOfMessage(size_t length, bool last, Reading* reading, const NtsKeResponse& response)
{
    if (length != 0) {
        return NtsKeVerdict::Malformed;
    }
    if (!last) {
        return NtsKeVerdict::BytesAfterEnd;
    }
    // What never came is blamed on the record that should have said it.
    if (!reading->seenProtocol) {
        reading->blamed = kNextProtocol;
        return NtsKeVerdict::ProtocolRefused;
    }
    if (!reading->seenAead) {
        reading->blamed = kAeadAlgorithm;
        return NtsKeVerdict::AeadRefused;
    }
    if (response.cookies.empty()) {
        reading->blamed = kNewCookie;
        return NtsKeVerdict::NoCookie;
    }
    return NtsKeVerdict::Complete;
}

// Exactly one value, the one asked for (the protocol, the AEAD algorithm): an empty body says the
// server takes none of ours.
NtsKeVerdict ReadChoice(const uint8_t* body, size_t length, uint16_t asked, NtsKeVerdict refusal, bool* seen)
{
    if (*seen) {
        return NtsKeVerdict::DuplicateRecord;
    }
    if (length != 2 || ReadBigEndian16(body) != asked) {
        return refusal;
    }
    *seen = true;
    return NtsKeVerdict::Incomplete;
}

NtsKeVerdict ReadComplaint(uint16_t type, const uint8_t* body, size_t length, NtsKeResponse* response)
{
    if (length != 2) {
        return NtsKeVerdict::Malformed;
    }
    response->errorCode = ReadBigEndian16(body);
    return type == kError ? NtsKeVerdict::ServerError : NtsKeVerdict::ServerWarning;
}

NtsKeVerdict ReadCookie(const uint8_t* body, size_t length, NtsKeResponse* response)
{
    if (length == 0 || length > kNtsMaxCookieSize) {
        return NtsKeVerdict::CookieSize;
    }
    if (response->cookies.size() < kNtsMaxCookies) {
        response->cookies.emplace_back(body, body + length);
    }
    return NtsKeVerdict::Incomplete;
}

NtsKeVerdict ReadNtpServer(const uint8_t* body, size_t length, NtsKeResponse* response)
{
    if (!response->ntpServer.empty()) {
        return NtsKeVerdict::DuplicateRecord;
    }
    if (!IsPrintableName(body, length)) {
        return NtsKeVerdict::Malformed;
    }
    response->ntpServer.assign(body, body + length);
    return NtsKeVerdict::Incomplete;
}

NtsKeVerdict ReadNtpPort(const uint8_t* body, size_t length, NtsKeResponse* response)
{
    if (response->hasNtpPort) {
        return NtsKeVerdict::DuplicateRecord;
    }
    if (length != 2) {
        return NtsKeVerdict::Malformed;
    }
    response->hasNtpPort = true;
    response->ntpPort = ReadBigEndian16(body);
    return NtsKeVerdict::Incomplete;
}

NtsKeVerdict ReadRecord(uint16_t type, bool critical, const uint8_t* body, size_t length, bool last, Reading* reading,
                        NtsKeResponse* response)
{
    switch (type) {
    case kEndOfMessage:
        return ReadEndOfMessage(length, last, reading, *response);
    case kNextProtocol:
        return ReadChoice(body, length, kNtsNextProtocolNtpV4, NtsKeVerdict::ProtocolRefused, &reading->seenProtocol);
    case kAeadAlgorithm:
        return ReadChoice(body, length, kNtsAeadAesSivCmac256, NtsKeVerdict::AeadRefused, &reading->seenAead);
    case kError:
    case kWarning:
        return ReadComplaint(type, body, length, response);
    case kNewCookie:
        return ReadCookie(body, length, response);
    case kNtpServer:
        return ReadNtpServer(body, length, response);
    case kNtpPort:
        return ReadNtpPort(body, length, response);
    default:
        // A record a later version may add is skipped, unless the server says it must be understood.
        return critical ? NtsKeVerdict::UnknownCriticalRecord : NtsKeVerdict::Incomplete;
    }
}

}  // namespace

std::vector<uint8_t> BuildNtsKeRequest()
{
    std::vector<uint8_t> request;
    AppendRecord(request, kNextProtocol, {kNtsNextProtocolNtpV4});
    AppendRecord(request, kAeadAlgorithm, {kNtsAeadAesSivCmac256});
    AppendRecord(request, kEndOfMessage, {});
    return request;
}

NtsKeResponse ParseNtsKeResponse(const uint8_t* bytes, size_t size)
{
    NtsKeResponse response;
    if (size > kNtsKeMaxResponseSize) {
        return Refused(response, NtsKeVerdict::TooLong, 0);
    }
    Reading reading;
    size_t at = 0;
    while (at + kRecordHeaderSize <= size) {
        const uint16_t typeField = ReadBigEndian16(bytes + at);
        const uint16_t type = typeField & ~kCriticalBit;
        const size_t length = ReadBigEndian16(bytes + at + 2);
        if (at + kRecordHeaderSize + length > size) {
            break;  // the rest of the record has not come yet
        }
        const uint8_t* body = bytes + at + kRecordHeaderSize;
        at += kRecordHeaderSize + length;
        reading.blamed = type;
        const NtsKeVerdict verdict =
            ReadRecord(type, (typeField & kCriticalBit) != 0, body, length, at == size, &reading, &response);
        if (verdict == NtsKeVerdict::Complete) {
            response.verdict = verdict;
            return response;
        }
        if (verdict != NtsKeVerdict::Incomplete) {
            return Refused(response, verdict, reading.blamed);
        }
    }
    response.cookies.clear();
    response.verdict = NtsKeVerdict::Incomplete;
    return response;
}
