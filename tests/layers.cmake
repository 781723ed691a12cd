# The layers hold at compile time: each row names a system library and a header
# above it (or beside it) that the library must not reach. A probe compiled
# with exactly that library's include path must find the library's own headers
# and must not find the forbidden one.
set(WAVECREST_FORBIDDEN_INCLUDES
  # library   forbidden include
  core        commands/wiring.h
  core        library/scan.h
  core        playback/play_entry.h
  core        trackinfo/id3.h
  core        host/chat_send.h
  core        ui/shape.h
  core        app/app_system.h
  trackinfo   playback/now_playing.h
  trackinfo   commands/trackinfo.h
  playback    library/matches.h
  playback    commands/playback.h
  library     commands/library.h
  library     host/discovery.h
  host        commands/status.h
  host        playback/now_playing.h
  host        host/sim/simulated_client.h
  host        host/irc/session.h
  host_irc    host/room_network.h
  host_irc    host/chat_send.h
  host_sim    host/irc/message.h
  host_sim    commands/wiring.h
  ui          core/text.h
  commands    host/chat_send.h
  commands    host/sim/simulated_client.h
  commands    host/irc/session.h
  commands    app/app_system.h
)

list(LENGTH WAVECREST_FORBIDDEN_INCLUDES count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET WAVECREST_FORBIDDEN_INCLUDES ${i} library)
  list(GET WAVECREST_FORBIDDEN_INCLUDES ${j} forbidden)
  # A header renamed away would make its row pass for the wrong reason.
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/src/${forbidden})
    message(FATAL_ERROR "tests/layers.cmake: src/${forbidden} does not exist")
  endif()
  set(root ${PROJECT_BINARY_DIR}/layers/${library})
  file(GLOB_RECURSE own ${root}/*.h)
  list(GET own 0 own)
  file(RELATIVE_PATH own ${root} ${own})
  string(MAKE_C_IDENTIFIER "${library}_${forbidden}" id)
  set(probe ${CMAKE_CURRENT_BINARY_DIR}/layers/${id}.cpp)
  file(CONFIGURE OUTPUT ${probe} CONTENT [[
#if !__has_include("@own@")
#error "the probe does not see its own library's headers"
#endif
#if __has_include("@forbidden@")
#error "@forbidden@ is in reach of wavecrest_@library@"
#endif
]] @ONLY)
  add_test(NAME layers.${library}.${forbidden}
    COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only
            "-I$<JOIN:$<TARGET_PROPERTY:wavecrest_${library},INCLUDE_DIRECTORIES>,;-I>" ${probe}
    COMMAND_EXPAND_LISTS)
endforeach()

# The logic tests load no Qt, no libmpv and no TagLib (ICU they must: it
# proves ldd listed the libraries at all).
add_test(NAME layers.logic_tests_without_qt_or_mpv
  COMMAND sh -c "libs=$(ldd \"$1\") && echo \"$libs\" | grep -q libicuuc && ! echo \"$libs\" | grep -E 'libQt6|libmpv|libtag'"
          sh $<TARGET_FILE:wavecrest_logic_tests>)
