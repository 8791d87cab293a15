#include "context/drives.h"

#include "context/app_context.h"
#include "core/ini_file.h"

DriveTable CurrentDrives()
{
    // The bindings are read once, like every other setting: the table is built on every disc
    // event and every look of the drive component.
    AppContext& context = app();
    if (!context.driveBindings || context.driveBindingsFrom != context.settings.cfgPath) {
        context.driveBindingsFrom = context.settings.cfgPath;
        context.driveBindings = IniFile::load(context.driveBindingsFrom);
    }
    return DriveTable::current({.cdRomDevices = context.listCdRomDevices,
                                .configuration = &*context.driveBindings,
                                .images = context.discImages});
}

bool DriveDoorOpen(uint32_t drive)
{
    return app().components.discbay->isCDRomDoorOpen(drive).value_or(false);
}
