# cmake -DPROGRAM=... -DNAME=... -DSECTION=... -DSUMMARY=... -DVERSION=...
#       -DSEE_ALSO=... -DOUT=... -P HelpToMan.cmake
#
# Writes a manual page from the program's own --help text, so the two never
# drift apart: NAME from the summary, DESCRIPTION the help text verbatim.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()

# roff: a backslash is \e; a line starting with . or ' would be a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
# A "-" in a manual page is a hyphen; options are written with minus signs.
string(REPLACE "-" "\\-" help "${help}")

string(TOUPPER "${NAME}" title)
set(page ".TH ${title} ${SECTION} \"\" \"${VERSION}\" \"Vantic Controller\"\n")
string(APPEND page ".SH NAME\n${NAME} \\- ${SUMMARY}\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${help}.fi\n")
if(SEE_ALSO)
    string(APPEND page ".SH SEE ALSO\n${SEE_ALSO}\n")
endif()
file(WRITE ${OUT} "${page}")
