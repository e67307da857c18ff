# Runs the example PROGRAM (named NAME) with the arguments ARGS (one string, split at
# blanks) and fails unless it exits with 0 and prints every line expected of it, and, for
# the demo, unless its tables with a time column list times that never go down and the
# monitor's table after the restore is the one it had at the save.
if(NAME STREQUAL "demo")
  set(expected
    # after step 2 the trucks simulator hands Truck-2 to the cars simulator, which moves it on
    "  handed Truck-2 to cars after step 2"
    "  took over Truck-2 from trucks after step 2"
    # each federate saved after step 3, ran on through step 4 and restored the save, so
    # what follows counts step 4 once, as if it had never run before the restore
    "  the federation saves Step3 after step 3, at time 3"
    "  ran on through step 4; the federation restores Step3: back after step 3, at time 3"
    "  updated Car-1 and Car-2 in steps 1 to 4, Truck-2 in steps 3 to 4"
    "  updated Truck-1 in steps 1 to 4, Truck-2 in steps 1 to 2"
    # each simulator saw the other's vehicles, with their last values and who sent them:
    # cars saw Truck-2 until it took it over, trucks saw it once cars moved it
    "Truck-1 +milk truck +\\(76\\.0, 0\\.0\\) +4 +trucks"
    "Truck-2 +fire engine +\\(80\\.0, 4\\.0\\) +2 +trucks"
    "Car-1 +red sedan +\\(48\\.0, 0\\.0\\) +4 +cars"
    "Car-2 +blue van +\\(36\\.0, 6\\.0\\) +4 +cars"
    "Truck-2 +fire engine +\\(60\\.0, 4\\.0\\) +2 +cars"
    "heard 5 messages: 4 from radio, 1 from trucks"
    "heard 5 messages: 1 from cars, 4 from radio"
    # the monitor's table at the save, what step 4 added to it, and the table restored
    "  its table at the save \\(12 reflections and 3 interactions\\):"
    "  before the restore its table had 16 reflections and 6 interactions"
    "  its table after the restore \\(12 reflections and 3 interactions\\):"
    # the monitor's table: every vehicle in every step, received at the step's time, the
    # producer conveyed: Truck-2 comes from its new owner after the handover
    "    1 +1 +Car-1 +HLAobjectRoot\\.Vehicle +red sedan +\\(12\\.0, 0\\.0\\) +cars"
    "    2 +2 +Truck-1 +HLAobjectRoot\\.Vehicle +milk truck +\\(88\\.0, 0\\.0\\) +trucks"
    "    2 +2 +Truck-2 +HLAobjectRoot\\.Vehicle +fire engine +\\(80\\.0, 4\\.0\\) +trucks"
    "    3 +3 +Truck-2 +HLAobjectRoot\\.Vehicle +fire engine +\\(70\\.0, 4\\.0\\) +cars"
    "    4 +4 +Truck-2 +HLAobjectRoot\\.Vehicle +fire engine +\\(60\\.0, 4\\.0\\) +cars"
    # the messages arrived, at their time
    "    2 +2 +HLAinteractionRoot\\.Message +radio +trucks, keep right +radio"
    "    4 +4 +HLAinteractionRoot\\.Message +trucks +Truck-1 stopped +trucks"
    "    4 +4 +heard cars +Car-1, Car-2 and Truck-2 stopped"
    # all of it in time-stamp order, none in receive order
    "22 of 22 received in time-stamp order"
    "removed as their owners resigned: Car-1 Car-2 Truck-1 Truck-2"
    "the last one out destroyed federation Demo")
  # the monitor's table at the save and after the restore, its reflections and
  # interactions, the radio's log: 12 + 12 + 16 + 6 + 6 rows
  set(timed_tables 5)
  set(timed_rows 52)
elseif(NAME STREQUAL "pubsub_pair")
  set(expected
    "subscriber: discovered Bus-1"
    "subscriber: Bus-1 step 3  Name=city bus  Position=\\(30\\.0, 2\\.0\\)"
    "subscriber: Bus-1 removed"
    "publisher: resigned"
    "subscriber: resigned")
else()
  message(FATAL_ERROR "no expectations for ${NAME}")
endif()
if(ARGS MATCHES "--rti")
  list(APPEND expected "four federates, each its own process, connected to the federation server")
endif()

separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
message("${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NAME} exited with ${status}\n${err}")
endif()
foreach(line IN LISTS expected)
  if(NOT out MATCHES "${line}")
    message(FATAL_ERROR "${NAME} did not print a line matching: ${line}")
  endif()
endforeach()

string(REPLACE ";" "," text "${out}")
string(REPLACE "\n" ";" lines "${text}")

# A table with a time column lists its rows in the order they arrived, so its times never
# go down; every row has one.
if(DEFINED timed_tables)
  set(tables 0)
  set(rows 0)
  set(last "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^    time ")
      math(EXPR tables "${tables} + 1")
      set(last 0)
    elseif(NOT last STREQUAL "" AND line MATCHES "^    ([0-9]+) ")
      if(CMAKE_MATCH_1 LESS last)
        message(FATAL_ERROR "${NAME} received time ${CMAKE_MATCH_1} after time ${last}: ${line}")
      endif()
      set(last ${CMAKE_MATCH_1})
      math(EXPR rows "${rows} + 1")
    else()
      set(last "")
    endif()
  endforeach()
  if(NOT tables EQUAL timed_tables OR NOT rows EQUAL timed_rows)
    message(FATAL_ERROR "${NAME} printed ${tables} tables with a time column and ${rows} rows "
                        "with a time in them, not ${timed_tables} and ${timed_rows}")
  endif()
endif()

# The monitor's table after the restore is the one it printed at the save: the same counts
# in the heading and the same rows, in the same order.
if(NAME STREQUAL "demo")
  set(collecting "")
  set(at_save "")
  set(after_restore "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^  its table at the save (.*)$")
      set(collecting at_save)
      set(at_save "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  its table after the restore (.*)$")
      set(collecting after_restore)
      set(after_restore "${CMAKE_MATCH_1}")
    elseif(collecting AND line MATCHES "^    ")
      string(APPEND ${collecting} "\n${line}")
    else()
      set(collecting "")
    endif()
  endforeach()
  if(at_save STREQUAL "" OR NOT at_save STREQUAL after_restore)
    message(FATAL_ERROR "the monitor's table after the restore differs from its table at the "
                        "save.\nAt the save ${at_save}\nAfter the restore ${after_restore}")
  endif()
endif()
