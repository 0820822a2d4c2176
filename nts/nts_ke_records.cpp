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
    bool seenProtocol = false;
    bool seenAead = false;
    size_t at = 0;
    while (at + kRecordHeaderSize <= size) {
        const uint16_t typeField = ReadBigEndian16(bytes + at);
        const uint16_t type = typeField & ~kCriticalBit;
        const bool critical = (typeField & kCriticalBit) != 0;
        const size_t length = ReadBigEndian16(bytes + at + 2);
        if (at + kRecordHeaderSize + length > size) {
            break;  // the rest of the record has not come yet
        }
        const uint8_t* body = bytes + at + kRecordHeaderSize;
        at += kRecordHeaderSize + length;
        const bool twoBytes = length == 2;
        switch (type) {
        case kEndOfMessage:
            if (length != 0) {
                return Refused(response, NtsKeVerdict::Malformed, type);
            }
            if (at != size) {
                return Refused(response, NtsKeVerdict::BytesAfterEnd, type);
            }
            if (!seenProtocol) {
                return Refused(response, NtsKeVerdict::ProtocolRefused, kNextProtocol);
            }
            if (!seenAead) {
                return Refused(response, NtsKeVerdict::AeadRefused, kAeadAlgorithm);
            }
            if (response.cookies.empty()) {
                return Refused(response, NtsKeVerdict::NoCookie, kNewCookie);
            }
            response.verdict = NtsKeVerdict::Complete;
            return response;
        case kNextProtocol:
            // Exactly one protocol, the one asked: an empty body says the server takes none.
            if (seenProtocol) {
                return Refused(response, NtsKeVerdict::DuplicateRecord, type);
            }
            if (!twoBytes || ReadBigEndian16(body) != kNtsNextProtocolNtpV4) {
                return Refused(response, NtsKeVerdict::ProtocolRefused, type);
            }
            seenProtocol = true;
            break;
        case kAeadAlgorithm:
            if (seenAead) {
                return Refused(response, NtsKeVerdict::DuplicateRecord, type);
            }
            if (!twoBytes || ReadBigEndian16(body) != kNtsAeadAesSivCmac256) {
                return Refused(response, NtsKeVerdict::AeadRefused, type);
            }
            seenAead = true;
            break;
        case kError:
        case kWarning:
            if (!twoBytes) {
                return Refused(response, NtsKeVerdict::Malformed, type);
            }
            response.errorCode = ReadBigEndian16(body);
            return Refused(response, type == kError ? NtsKeVerdict::ServerError : NtsKeVerdict::ServerWarning, type);
        case kNewCookie:
            if (length == 0 || length > kNtsMaxCookieSize) {
                return Refused(response, NtsKeVerdict::CookieSize, type);
            }
            if (response.cookies.size() < kNtsMaxCookies) {
                response.cookies.emplace_back(body, body + length);
            }
            break;
        case kNtpServer:
            if (!response.ntpServer.empty()) {
                return Refused(response, NtsKeVerdict::DuplicateRecord, type);
            }
            if (!IsPrintableName(body, length)) {
                return Refused(response, NtsKeVerdict::Malformed, type);
            }
            response.ntpServer.assign(body, body + length);
            break;
        case kNtpPort:
            if (response.hasNtpPort) {
                return Refused(response, NtsKeVerdict::DuplicateRecord, type);
            }
            if (!twoBytes) {
                return Refused(response, NtsKeVerdict::Malformed, type);
            }
            response.hasNtpPort = true;
            response.ntpPort = ReadBigEndian16(body);
            break;
        default:
            if (critical) {
                return Refused(response, NtsKeVerdict::UnknownCriticalRecord, type);
            }
            break;  // a record a later version may add: skipped
        }
    }
    response.cookies.clear();
    response.verdict = NtsKeVerdict::Incomplete;
    return response;
}
