# The CD-ROM drives on Linux: udev, the kernel's cdrom ioctls, udisks2 over D-Bus.
