# One core library (files at the subsystem's root and its sub-folders but ui/) and one ui library
# (files under ui/) per subsystem folder. Sources are globbed, so a new file needs no edit here.

# Subsystems in layer order: a library may use only those before it.
set(KINLOOM_SUBSYSTEMS platform model shell diagrams editor gedcom sources pictures tools reports merge publishing)
set(KINLOOM_CORE_LIBS "")
set(KINLOOM_UI_LIBS "")

function(kinloom_sources out dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  list(FILTER files EXCLUDE REGEX "^${dir}/ui/")
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Moc must see a header that appears in an already configured tree (a new file, a merge): the globbed headers are
# named as inputs of the target's moc step, so a header newer than its last run runs it again.
function(kinloom_moc_watches target)
  set(headers ${ARGN})
  list(FILTER headers INCLUDE REGEX "\\.h$")
  if(headers)
    set_property(TARGET ${target} APPEND PROPERTY AUTOGEN_TARGET_DEPENDS ${headers})
  endif()
endfunction()

function(kinloom_subsystem sub)
  set(dir ${CMAKE_SOURCE_DIR}/src/${sub})
  kinloom_sources(core_srcs ${dir})
  file(GLOB_RECURSE ui_srcs CONFIGURE_DEPENDS ${dir}/ui/*.cpp ${dir}/ui/*.h)

  # Core libraries see Qt Core and Gui only: no Widgets include path, no Widgets link.
  if(core_srcs)
    add_library(kinloom_${sub} STATIC ${core_srcs})
    kinloom_moc_watches(kinloom_${sub} ${core_srcs})
    target_include_directories(kinloom_${sub} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kinloom_${sub} PUBLIC Qt6::Core Qt6::Gui ${KINLOOM_CORE_LIBS})
    if(sub STREQUAL "platform")
      target_link_libraries(kinloom_${sub} PUBLIC SQLite::SQLite3)
    endif()
    if(sub STREQUAL "model")
      target_link_libraries(kinloom_${sub} PUBLIC ICU::uc ICU::i18n)
    endif()
    if(sub STREQUAL "shell")
      target_link_libraries(kinloom_${sub} PUBLIC PkgConfig::HUNSPELL)
    endif()
    if(sub STREQUAL "pictures")
      # Thumbnails are decoded on worker threads; picture metadata is read with exiv2.
      target_link_libraries(kinloom_${sub} PUBLIC Qt6::Concurrent PkgConfig::EXIV2)
    endif()
    target_compile_definitions(kinloom_${sub} PUBLIC QT_NO_KEYWORDS KINLOOM_VERSION="${PROJECT_VERSION}")
    list(APPEND KINLOOM_CORE_LIBS kinloom_${sub})
    set(KINLOOM_CORE_LIBS ${KINLOOM_CORE_LIBS} PARENT_SCOPE)
  endif()
  if(ui_srcs)
    add_library(kinloom_${sub}_ui STATIC ${ui_srcs})
    kinloom_moc_watches(kinloom_${sub}_ui ${ui_srcs})
    target_link_libraries(kinloom_${sub}_ui PUBLIC ${KINLOOM_CORE_LIBS} ${KINLOOM_UI_LIBS} Qt6::Widgets Qt6::PrintSupport)
    if(sub STREQUAL "shell")
      # The update check; HTTPS through Qt's OpenSSL backend.
      target_link_libraries(kinloom_${sub}_ui PUBLIC Qt6::Network)
    endif()
    list(APPEND KINLOOM_UI_LIBS kinloom_${sub}_ui)
    set(KINLOOM_UI_LIBS ${KINLOOM_UI_LIBS} PARENT_SCOPE)
  endif()
endfunction()

# One GoogleTest binary per library: tests/<sub>/*.cpp for the core library, tests/<sub>/ui/*.cpp for the ui one.
function(kinloom_tests sub)
  set(dir ${CMAKE_SOURCE_DIR}/tests/${sub})
  kinloom_sources(core_tests ${dir})
  file(GLOB_RECURSE ui_tests CONFIGURE_DEPENDS ${dir}/ui/*.cpp ${dir}/ui/*.h)
  # From the shell up, each test starts from the program's first-run defaults (tests/support/TestSupport.h).
  list(FIND KINLOOM_SUBSYSTEMS ${sub} layer)
  list(FIND KINLOOM_SUBSYSTEMS shell shell_layer)
  set(first_run "")
  if(layer GREATER_EQUAL shell_layer)
    set(first_run ${CMAKE_SOURCE_DIR}/tests/support/FirstRunDefaults.cpp)
  endif()
  if(core_tests AND TARGET kinloom_${sub})
    add_executable(kinloom_${sub}_tests ${core_tests} ${first_run})
    target_link_libraries(kinloom_${sub}_tests PRIVATE kinloom_${sub} kinloom_test_support GTest::gmock)
    kinloom_use_allocator(kinloom_${sub}_tests)
    gtest_discover_tests(kinloom_${sub}_tests DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  if(ui_tests AND TARGET kinloom_${sub}_ui)
    add_executable(kinloom_${sub}_ui_tests ${ui_tests} ${first_run})
    target_link_libraries(kinloom_${sub}_ui_tests PRIVATE kinloom_${sub}_ui kinloom_test_support_ui GTest::gmock)
    kinloom_use_allocator(kinloom_${sub}_ui_tests)
    gtest_discover_tests(kinloom_${sub}_ui_tests DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
