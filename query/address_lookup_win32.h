// Host name lookups and NTS key exchanges on worker threads (Win32): getaddrinfo blocks for as long
// as the name server takes, a key exchange for as long as its TLS takes, and neither may freeze the
// window nor outlive the query that asked. Each job has an id, never reused; its end is posted to
// the window; its result is taken once by that id. A job that was cancelled, or that some earlier
// query started, can never be taken.
#pragma once

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/net_address.h"
#include "base/system_forms_win32.h"
#include "nts/nts_ke_session.h"

// Starts looking the name up, for every address of both families in the order the system gives;
// the end comes as the message with the id in wParam. 0 when no thread could be started.
uintptr_t StartAddressLookup(const std::string& host, HWND window, UINT message);

// The result of a finished lookup, once: its error (0 when it found addresses) and its addresses.
// False for an id that is unknown, cancelled, already taken or not finished.
bool TakeAddressLookup(uintptr_t id, int* error, std::vector<NetAddress>* addresses);

// Starts an NTS key exchange with the server at these addresses (ports included), whose certificate
// must name it; the end comes like a lookup's. The exchanges run one at a time, since the TLS
// library's state is shared: one waits for its turn no longer than an exchange may take, and then
// ends as timed out. 0 when no thread could be started.
uintptr_t StartNtsKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName, HWND window,
                              UINT message);

// The result of a finished key exchange, once; false as for TakeAddressLookup.
bool TakeNtsKeyExchange(uintptr_t id, NtsKeyExchangeResult* result);

// Forgets the job, a lookup or a key exchange alike: its result is thrown away when it comes, and
// its end is never taken.
void CancelBackgroundJob(uintptr_t id);

