# cmake -DREADME=<file> -DEXAMPLE=<file> -P CheckReadmeQuote.cmake
# Fails unless README quotes EXAMPLE whole, byte for byte.
file(READ ${README} readme)
file(READ ${EXAMPLE} example)
string(FIND "${readme}" "${example}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${README} does not quote ${EXAMPLE} as it is: copy the file into it")
endif()
