# Where an installed Brimlet keeps its files. The programs and everything they look for beside
# their executable (Elements.ini, the manual) share one folder of their own; bin/ holds links to
# the programs. Included before the subfolders, so that each can install into it, for example
# data/: install(FILES Elements.ini DESTINATION ${BRIMLET_INSTALL_PROGRAMDIR})
include(GNUInstallDirs)
set(BRIMLET_INSTALL_PROGRAMDIR lib/brimlet
    CACHE STRING "Folder below the prefix for Brimlet's programs and the files they read beside them")
