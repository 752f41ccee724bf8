# Target `docs`: the public headers of the library and of the stand-in
# platform's controls through Doxygen into html/ and xml/ of this build
# folder. Any warning fails it, an undocumented public name included.
# Other builds go without it when Doxygen is missing; make docs requires it.
option(QX_DOCS_REQUIRED "Fail the configure step when Doxygen is missing" OFF)
find_package(Doxygen)
if(NOT DOXYGEN_FOUND)
    if(QX_DOCS_REQUIRED)
        message(FATAL_ERROR "the docs need Doxygen (make deps installs it)")
    endif()
    return()
endif()
set(QX_STANDIN_INCLUDE_DIR ${PROJECT_SOURCE_DIR}/platform/standin/include)
set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
set(DOXYGEN_PROJECT_BRIEF "System events, user security scope and reload registration")
set(DOXYGEN_FILE_PATTERNS *.h)
# Files and #include lines read as users write them: qx_sysevent/..., qx_standin/...
set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR}/include ${QX_GENERATED_INCLUDE_DIR}
    ${QX_STANDIN_INCLUDE_DIR})
set(DOXYGEN_STRIP_FROM_INC_PATH ${DOXYGEN_STRIP_FROM_PATH})
set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
set(DOXYGEN_EXTRACT_ALL NO)
set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
set(DOXYGEN_WARN_IF_DOC_ERROR YES)
set(DOXYGEN_WARN_IF_INCOMPLETE_DOC YES)
set(DOXYGEN_WARN_AS_ERROR FAIL_ON_WARNINGS)
set(DOXYGEN_QUIET YES)
set(DOXYGEN_GENERATE_XML YES)
# The export macro is noise in the documented declarations.
set(DOXYGEN_MACRO_EXPANSION YES)
set(DOXYGEN_EXPAND_ONLY_PREDEF YES)
set(DOXYGEN_PREDEFINED QX_SYSEVENT_EXPORT=)
doxygen_add_docs(docs
    ${PROJECT_SOURCE_DIR}/include/qx_sysevent
    ${QX_GENERATED_INCLUDE_DIR}/qx_sysevent/version.h
    ${QX_STANDIN_INCLUDE_DIR}/qx_standin)
