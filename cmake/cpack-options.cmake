# Read by cpack as it starts, with the CPACK_ variables of the build.
#
# Every file in the packages carries the release's date, that of the newest
# entry of doc/changelog, as its time, so that a rebuild of the same sources
# gives the same bytes; a distribution that sets SOURCE_DATE_EPOCH itself
# keeps its own.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_SYMTEXT_RELEASE_EPOCH})
endif()
# A cross-built Debian package takes its Depends from its own architecture's
# libraries, which dpkg-shlibdeps looks for by DEB_HOST_ARCH.
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
  set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
endif()
# A zip holds local times without their zone: read in UTC, they are the same
# wherever the zip is made.
set(ENV{TZ} UTC0)
