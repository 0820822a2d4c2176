// The service's access lists, with its own SID.
#include "service_access.h"

#include "service_sid.h"

namespace {

constexpr char kServiceName[] = "Tempivo";

}  // namespace

std::string ServiceFolderAccessList()
{
    return "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;" + ServiceSidText(kServiceName) +
           ")(A;OICI;0x1200a9;;;BU)";
}

std::string ServicePipeAccessList()
{
    return "D:(D;;GA;;;NU)(A;;GA;;;SY)(A;;GA;;;BA)(A;;GA;;;" + ServiceSidText(kServiceName) + ")(A;;0x12018b;;;IU)";
}
