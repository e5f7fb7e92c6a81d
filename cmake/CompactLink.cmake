# Links a program so that starting it touches as few pages as it can:
# - the functions a start runs (cmake/startup-symbols.txt, written by scripts/startup-symbols.sh)
#   are placed side by side, so the kernel maps a few hundred kilobytes of the program instead of
#   nearly all of it (it maps 64 KB around every page the program touches);
# - relative relocations are packed: the loader reads a few hundred bytes instead of 65 KB.
# The first needs lld (version 15 or later, for the second as well); without it the system linker
# packs the relocations where it can and the functions stay in their usual order.
include(CheckLinkerFlag)

find_program(DEPLOYER_LLD NAMES ld.lld-19 ld.lld-18 ld.lld-17 ld.lld-16 ld.lld-15)
set(DEPLOYER_STARTUP_SYMBOLS ${CMAKE_SOURCE_DIR}/cmake/startup-symbols.txt)

function(deployer_link_compactly target)
  if(DEPLOYER_LLD)
    # The compiler driver looks for "ld.lld" among the programs of its -B folder.
    set(folder ${CMAKE_BINARY_DIR}/linker)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${DEPLOYER_LLD} ${folder}/ld.lld SYMBOLIC)
    target_link_options(${target} PRIVATE -B${folder} -fuse-ld=lld -Wl,-z,pack-relative-relocs
      -Wl,--symbol-ordering-file=${DEPLOYER_STARTUP_SYMBOLS} -Wl,--no-warn-symbol-ordering)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${DEPLOYER_STARTUP_SYMBOLS})
    return()
  endif()
  check_linker_flag(CXX "-Wl,-z,pack-relative-relocs" DEPLOYER_PACKED_RELOCATIONS)
  if(DEPLOYER_PACKED_RELOCATIONS)
    target_link_options(${target} PRIVATE -Wl,-z,pack-relative-relocs)
  endif()
endfunction()
