# Copies the assets of the build folder FROM into the build folder TO: every
# folder of the game folder (the programs beside them are each build's own)
# and the theme icons. Files already there with the same time are skipped.
#   cmake -DFROM=<build> -DTO=<build> -P copy_assets.cmake
file(GLOB entries LIST_DIRECTORIES true ${FROM}/corvale/*)
foreach(e ${entries})
  if(IS_DIRECTORY ${e})
    file(COPY ${e} DESTINATION ${TO}/corvale)
  endif()
endforeach()
file(COPY ${FROM}/icons DESTINATION ${TO})
