# The CD-ROM drive component against folder drives and a scripted device layer.
quintara_test(discbay_tests test_discbay_drives.cpp test_discbay_physical.cpp test_discbay_end_to_end.cpp
  test_discbay_udisks.cpp test_discbay_mounts.cpp)
