# The drawing kit of the picture generators. Each generator's CMakeLists
# includes this file, inside the project or on its own.
if(NOT TARGET jsb_drawkit)
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_library(jsb_drawkit STATIC ${CMAKE_CURRENT_LIST_DIR}/drawkit.cpp)
  target_include_directories(jsb_drawkit PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(jsb_drawkit PUBLIC Qt6::Gui)
endif()

# jsb_picture_generator(<target> <sources>...): a generator program, also
# listed for the picture test.
function(jsb_picture_generator target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE jsb_drawkit)
  set_property(GLOBAL APPEND PROPERTY JSB_PICTURE_GENERATORS ${target})
endfunction()
