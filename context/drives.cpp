#include "context/drives.h"

#include "context/app_context.h"

DriveTable CurrentDrives()
{
    return DriveTable::current({.cdRomDevices = app().listCdRomDevices,
                                .configurationPath = app().settings.cfgPath,
                                .images = app().discImages});
}

bool DriveDoorOpen(uint32_t drive)
{
    uint32_t open = 0;
    return Discbay_IsCDRomDoorOpen(drive, &open) && open == 1;
}
