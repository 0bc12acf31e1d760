# Writes OUT: the showcase document IN reading its media from the packed data file.
# PREFIX is the folder of the music and the data file as seen from OUT ("" when beside it).
file(READ "${IN}" document)
set(plain "InputMusicFile=\"showcase.ogg\"")
string(FIND "${document}" "${plain}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${IN}: no ${plain} setting to add the data file to")
endif()
string(REPLACE "${plain}" "InputMusicFile=\"${PREFIX}showcase.ogg\" DataFile=\"${PREFIX}showcase.dat\""
               document "${document}")
file(WRITE "${OUT}" "${document}")
