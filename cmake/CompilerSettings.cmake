# Warnings as errors everywhere, and the sanitizer of this build folder.
add_compile_options(-Wall -Wextra -Werror)

if(QX_SANITIZE)
    add_compile_options(-fsanitize=${QX_SANITIZE} -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=${QX_SANITIZE})
    if(QX_SANITIZE MATCHES "undefined")
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()

# Coverage builds instrument only what the report is about, the library and
# the stand-in, and not the tests that drive them. Counters are updated
# atomically: threads of the concurrency tests would otherwise corrupt them.
option(QX_COVERAGE "Instrument the library and the stand-in platform for gcov" OFF)
function(qx_measure_coverage target)
    if(QX_COVERAGE)
        target_compile_options(${target} PRIVATE --coverage -fprofile-update=atomic)
        target_link_options(${target} PRIVATE --coverage)
    endif()
endfunction()
