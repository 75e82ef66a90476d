// windows_family.cpp: tells the Windows NT family from Windows 95, 98 and Me.
#include "hostnet/host_defaults.h"

int IsNtFamily(void)
{
    return (GetVersion() & 0x80000000u) == 0;
}
