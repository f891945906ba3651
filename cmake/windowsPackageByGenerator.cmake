# Read by CPack once for each generator it runs, with CPACK_GENERATOR naming that one.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
