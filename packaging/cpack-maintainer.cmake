# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack before it makes the package: a package made without a
# maintainer's name and address says so, and says how to give them.
if(NOT CPACK_ZENTARA_MAINTAINER_IS_SET)
  message(NOTICE
    "note: no maintainer is set, so this local build names \"${CPACK_DEBIAN_PACKAGE_MAINTAINER}\".\n"
    "note: to name one, set DEBFULLNAME (the name) and DEBEMAIL (the address) in the environment,\n"
    "note: or configure with -DZENTARA_MAINTAINER_NAME=... -DZENTARA_MAINTAINER_EMAIL=..., and package again.")
endif()
