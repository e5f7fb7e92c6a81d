# deployer_curses: the curses library the program uses. Outside sanitizer builds it is linked in
# from its static archives where they are installed: the loader then maps and relocates one
# shared library (the C library) instead of three, which takes about a millisecond off every
# start on a virtual machine, and only the parts of curses the program uses are mapped. The
# terminal descriptions are still read from the system's terminfo database at run time.
add_library(deployer_curses INTERFACE)
if(NOT DEPLOYER_SANITIZE)
  find_library(DEPLOYER_NCURSESW_ARCHIVE NAMES libncursesw.a)
  find_library(DEPLOYER_TINFO_ARCHIVE NAMES libtinfo.a)
endif()
if(DEPLOYER_NCURSESW_ARCHIVE AND DEPLOYER_TINFO_ARCHIVE)
  target_include_directories(deployer_curses INTERFACE ${NCURSESW_INCLUDE_DIRS})
  target_compile_options(deployer_curses INTERFACE ${NCURSESW_CFLAGS_OTHER})
  target_link_libraries(deployer_curses INTERFACE ${DEPLOYER_NCURSESW_ARCHIVE}
                        ${DEPLOYER_TINFO_ARCHIVE})
else()
  target_link_libraries(deployer_curses INTERFACE PkgConfig::NCURSESW)
endif()
