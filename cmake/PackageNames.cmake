# The installers' file names, which the packaging and its tests share. A
# development build (no maker's key, QH_PACKAGE_MARK "dev") says so in every
# name; the Debian version takes "~dev", which sorts below the release of
# the same number. The version recorded at install stays the plain product
# version, which the updater compares.
if(QH_PACKAGE_MARK)
    set(QH_NAME_MARK "-${QH_PACKAGE_MARK}")
    set(QH_DEB_VERSION "${QH_PRODUCT_VERSION}~${QH_PACKAGE_MARK}")
else()
    set(QH_NAME_MARK "")
    set(QH_DEB_VERSION "${QH_PRODUCT_VERSION}")
endif()
# A 64-bit setup program installs into the 64-bit "Program Files".
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(QH_SETUP_NAME "QingheCalc-${QH_PRODUCT_VERSION}${QH_NAME_MARK}-x64-setup.exe")
else()
    set(QH_SETUP_NAME "QingheCalc-${QH_PRODUCT_VERSION}${QH_NAME_MARK}-setup.exe")
endif()
set(QH_DEB_NAME "qinghe-calc_${QH_DEB_VERSION}_amd64.deb")
set(QH_ARCHIVE_NAME "qinghe-calc-${QH_PRODUCT_VERSION}${QH_NAME_MARK}-linux-x86_64")
