// The lookups' and key exchanges' threads and the table of their results, under one lock (Win32).
#include "address_lookup_win32.h"

#include "nts/nts_key_exchange_win32.h"

#include <cstring>
#include <map>
#include <utility>

namespace {

struct LookupEntry {
    bool finished = false;
    bool cancelled = false;
    int error = 0;
    std::vector<NetAddress> addresses;
    bool keyExchange = false;
    NtsKeyExchangeResult exchange;
};

// Made once and never destroyed: a worker may still finish while the process ends.
struct LookupTable {
    LookupTable() : keyExchangeTurn(CreateMutexA(nullptr, FALSE, nullptr)) { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    HANDLE keyExchangeTurn;  // one key exchange at a time; waited for with a time limit
    uintptr_t lastId = 0;
    std::map<uintptr_t, LookupEntry> entries;
};

LookupTable& Table()
{
    static LookupTable* table = new LookupTable;
    return *table;
}

struct LookupJob {
    uintptr_t id;
    std::string host;  // the name looked up, or the name a key exchange's certificate must carry
    HWND window;
    UINT message;
    std::vector<NetAddress> addresses;  // a key exchange's
};

DWORD WINAPI RunLookup(void* parameter);

bool Cancelled(uintptr_t id)
{
    LookupTable& table = Table();
    EnterCriticalSection(&table.lock);
    const auto entry = table.entries.find(id);
    const bool cancelled = entry == table.entries.end() || entry->second.cancelled;
    LeaveCriticalSection(&table.lock);
    return cancelled;
}

// Puts a finished job's result into its entry and posts its end, or forgets it when it was
// cancelled meanwhile or nobody is there to take it; then frees the job.
void Deliver(LookupJob* job, LookupEntry result)
{
    LookupTable& table = Table();
    EnterCriticalSection(&table.lock);
    auto entry = table.entries.find(job->id);
    if (entry != table.entries.end()) {
        if (entry->second.cancelled) {
            table.entries.erase(entry);
        } else {
            result.keyExchange = entry->second.keyExchange;
            result.finished = true;
            entry->second = std::move(result);
            if (!PostMessageA(job->window, job->message, job->id, 0)) {
                table.entries.erase(entry);
            }
        }
    }
    LeaveCriticalSection(&table.lock);
    delete job;
}

DWORD WINAPI RunKeyExchange(void* parameter)
{
    LookupJob* job = static_cast<LookupJob*>(parameter);
    LookupTable& table = Table();
    LookupEntry result;
    result.exchange.failure = NtsKeFailure::TimedOut;
    // The turn is waited for no longer than an exchange may take: a server that holds its own
    // exchange to the limit delays the next by that much, never more.
    const DWORD turn = WaitForSingleObject(table.keyExchangeTurn, kNtsKeTimeLimitMs);
    if (turn == WAIT_OBJECT_0 || turn == WAIT_ABANDONED) {
        // One cancelled while it waited its turn costs nothing more.
        if (!Cancelled(job->id)) {
            result.exchange = RunNtsKeyExchange(job->addresses, job->host);
        }
        ReleaseMutex(table.keyExchangeTurn);
    }
    Deliver(job, std::move(result));
    return 0;
}

uintptr_t StartJob(LookupJob job, bool keyExchange)
{
    LookupTable& table = Table();
    EnterCriticalSection(&table.lock);
    const uintptr_t id = ++table.lastId;
    table.entries[id] = LookupEntry();
    table.entries[id].keyExchange = keyExchange;
    LeaveCriticalSection(&table.lock);
    job.id = id;
    auto* parameter = new LookupJob(std::move(job));
    const HANDLE thread = CreateThread(nullptr, 0, keyExchange ? RunKeyExchange : RunLookup, parameter, 0, nullptr);
    if (thread == nullptr) {
        delete parameter;
        EnterCriticalSection(&table.lock);
        table.entries.erase(id);
        LeaveCriticalSection(&table.lock);
        return 0;
    }
    CloseHandle(thread);
    return id;
}

DWORD WINAPI RunLookup(void* parameter)
{
    LookupJob* job = static_cast<LookupJob*>(parameter);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* found = nullptr;
    const int error = getaddrinfo(job->host.c_str(), nullptr, &hints, &found);
    std::vector<NetAddress> addresses;
    for (const addrinfo* each = found; each != nullptr; each = each->ai_next) {
        NetAddress address;
        if (FromSocketAddress(each->ai_addr, &address)) {
            addresses.push_back(address);
        }
    }
    if (found != nullptr) {
        freeaddrinfo(found);
    }
    LookupEntry result;
    result.error = error != 0 ? error : (addresses.empty() ? WSAHOST_NOT_FOUND : 0);
    result.addresses = std::move(addresses);
    Deliver(job, std::move(result));
    return 0;
}

}  // namespace

uintptr_t StartAddressLookup(const std::string& host, HWND window, UINT message)
{
    return StartJob(LookupJob{0, host, window, message, {}}, false);
}

uintptr_t StartNtsKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName, HWND window,
                              UINT message)
{
    return StartJob(LookupJob{0, serverName, window, message, addresses}, true);
}

bool TakeNtsKeyExchange(uintptr_t id, NtsKeyExchangeResult* result)
{
    LookupTable& table = Table();
    EnterCriticalSection(&table.lock);
    auto entry = table.entries.find(id);
    const bool taken = entry != table.entries.end() && entry->second.finished && !entry->second.cancelled &&
                       entry->second.keyExchange;
    if (taken) {
        *result = std::move(entry->second.exchange);
        table.entries.erase(entry);
    }
    LeaveCriticalSection(&table.lock);
    return taken;
}

bool TakeAddressLookup(uintptr_t id, int* error, std::vector<NetAddress>* addresses)
{
    LookupTable& table = Table();
    EnterCriticalSection(&table.lock);
    auto entry = table.entries.find(id);
    const bool taken = entry != table.entries.end() && entry->second.finished && !entry->second.cancelled &&
                       !entry->second.keyExchange;
    if (taken) {
        *error = entry->second.error;
        *addresses = std::move(entry->second.addresses);
        table.entries.erase(entry);
    }
    LeaveCriticalSection(&table.lock);
    return taken;
}

void CancelBackgroundJob(uintptr_t id)
{
    LookupTable& table = Table();
    EnterCriticalSection(&table.lock);
    auto entry = table.entries.find(id);
    if (entry != table.entries.end()) {
        if (entry->second.finished) {
            table.entries.erase(entry);
        } else {
            entry->second.cancelled = true;
        }
    }
    LeaveCriticalSection(&table.lock);
}
