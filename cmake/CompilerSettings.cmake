# Warnings as errors everywhere, and the sanitizer of this build folder.
add_compile_options(-Wall -Wextra -Werror)

if(QX_SANITIZE)
    add_compile_options(-fsanitize=${QX_SANITIZE} -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=${QX_SANITIZE})
    if(QX_SANITIZE MATCHES "undefined")
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()
