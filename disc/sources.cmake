# The play list, the drive table and the disc scan.
