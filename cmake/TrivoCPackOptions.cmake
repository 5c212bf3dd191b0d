# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE). CPack dates the files of its archives
# with SOURCE_DATE_EPOCH: the time of the sources the tree was configured with (TrivoPackage.cmake).
set(ENV{SOURCE_DATE_EPOCH} "${CPACK_TRIVO_SOURCE_DATE_EPOCH}")
