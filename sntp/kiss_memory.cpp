// The process's kiss memory.
#include "kiss_memory.h"

KissMemory& ProcessKissMemory()
{
    static KissMemory memory;
    return memory;
}
