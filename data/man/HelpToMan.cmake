# Writes the manual page of norvelle-cli from its --help text, so that the two never
# tell different stories. Called with -DCLI=<program> -DOUT=<page> -DVERSION=<x.y>.
execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "norvelle-cli --help failed")
endif()
# roff: a backslash is written \e, and a line may not start with a dot or a quote.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" help "${help}")
file(WRITE "${OUT}" ".TH NORVELLE-CLI 1 \"December 2026\" \"Norvelle ${VERSION}\" \"User Commands\"
.SH NAME
norvelle-cli \\- inspect, repair and script a Norvelle data file
.SH DESCRIPTION
.nf
${help}.fi
.SH SEE ALSO
.BR norvelle (1)
")
