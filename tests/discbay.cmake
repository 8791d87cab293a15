# The CD-ROM drive component against folder drives and a scripted device layer.
