-- Drives Grelmond's LV2 build inside Ardour without a screen or sound card.
--   ardour7-lua session-lv2.lua make  SESSION_DIR DUMP   new session: a MIDI track with
--       the plug-in, a few recorded notes, programs 5 and 9 selected by MIDI program
--       change and edited through the ports, 9 left current; saved
--   ardour7-lua session-lv2.lua check SESSION_DIR DUMP   the saved session reopened and saved again
--   ardour7-lua session-lv2.lua vst2  SESSION_DIR DUMP   the saved session with the VST 2 build in
--       the LV2 build's place, program 9 edited the same way, saved as the snapshot "vst2"
-- Both write the port values Ardour holds to DUMP; the programs themselves travel
-- in the plug-in's state, which the test reads from the saved session.

local mode, folder, dump_path = arg[1], arg[2], arg[3]
local name = "grelmond"
local plugin_uri = "urn:zavr:grelmond"
local vst2_id = "2053195634" -- the VST 2 build's unique id as Ardour names it

local function say(...) print(...) io.stdout:flush() end
local function fail(message) say("FAIL " .. message) os.exit(1) end
local function wait_ms(ms) ARDOUR.LuaAPI.usleep(ms * 1000) end

local function value(insert, index) return ARDOUR.LuaAPI.get_plugin_insert_param(insert, index, true) end
local function set_value(insert, index, v)
  if not ARDOUR.LuaAPI.set_plugin_insert_param(insert, index, v) then fail("cannot set " .. index) end
  wait_ms(100) -- the port reaches the plug-in in the next cycle
end

local function dump_values(insert)
  local out = io.open(dump_path, "w")
  local line = { "ports" }
  for i = 0, 63 do line[#line + 1] = string.format("%.9g", value(insert, i)) end
  out:write(table.concat(line, " "), "\n")
  out:close()
end

local function keyboard_port()
  local _, ports = Session:engine():get_ports(ARDOUR.DataType("midi"), ARDOUR.PortList())
  for p in ports[2]:iter() do
    local async = p:to_asyncmidiport()
    if not async:isnil() and async:sends_output() and string.find(p:name(), "virtual") then return async end
  end
  fail("no virtual keyboard port")
end

local function sender(keyboard)
  local parser = ARDOUR.RawMidiParser()
  return function(...)
    parser:reset()
    for _, b in ipairs({ ... }) do
      if parser:process_byte(b) then keyboard:write(parser:midi_buffer(), parser:buffer_size(), 0) end
    end
  end
end

local function record_notes(track, send)
  track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  Session:maybe_enable_record(false)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  wait_ms(300)
  for _, note in ipairs({ 45, 57, 60, 64, 69 }) do
    send(0x90, note, 100)
    wait_ms(250)
    send(0x80, note, 0)
    wait_ms(50)
  end
  wait_ms(700) -- the release rings into the region
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  wait_ms(500)
  track:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
  if track:playlist():region_list():size() ~= 1 then fail("nothing recorded") end
end

-- A program chosen the way a keyboard chooses it: live input passes to the plug-in.
local function select_program(send, index)
  send(0xC0, index)
  wait_ms(200)
end

-- The same sound from the other format: the LV2 insert replaced by the VST 2
-- build with the current program and its edits as the LV2 session has them.
local function swap_in_vst2()
  local route = Session:route_by_name("Synth")
  local lv2 = route:nth_plugin(0)
  local vst2 = ARDOUR.LuaAPI.new_plugin(Session, vst2_id, ARDOUR.PluginType.LXVST, "")
  if vst2:isnil() then fail("Ardour did not find the VST 2 build") end
  if route:add_processor_by_index(vst2, 0, nil, true) ~= 0 then fail("cannot add the VST 2 build") end
  if route:remove_processor(lv2, nil, true) ~= 0 then fail("cannot remove the LV2 build") end
  local insert = vst2:to_insert()
  local preset = insert:plugin(0):preset_by_uri(string.format("VST:%s:%04d", vst2_id, 9))
  if not preset or not preset.valid then fail("no program 9") end
  insert:plugin(0):load_preset(preset)
  set_value(insert, 29, 0.3)
  set_value(insert, 46, 0.8537)
  Session:save_state("vst2", false, false, false, false, false)
  say("OK vst2")
  close_session()
  os.exit(0)
end

if not AudioEngine:set_backend("None (Dummy)", "", "") then fail("no Dummy backend") end

local track
if mode == "make" then
  if not create_session(folder, name, 48000) then fail("cannot create the session") end
  local info = ARDOUR.LuaAPI.new_plugin_info(plugin_uri, ARDOUR.PluginType.LV2)
  if info:isnil() then fail("Ardour did not find the plug-in") end
  local tracks = Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
    ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), false, info, nil, nil, 1, "Synth",
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
  if tracks:size() ~= 1 then fail("no track") end
  track = tracks:front()
else
  if not load_session(folder, name) then fail("cannot open the session") end
  if mode == "vst2" then swap_in_vst2() end
  track = Session:route_by_name("Synth"):to_track()
end

local proc = track:nth_plugin(0)
if proc:isnil() then fail("the track has no plug-in") end
local insert = proc:to_insert()

if mode == "make" then
  local keyboard = keyboard_port()
  track:input():nth(0):connect(keyboard:name())
  local send = sender(keyboard)
  record_notes(track, send)
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
  wait_ms(200)
  -- Values off the bank file's three-decimal grid: the state carries them exactly.
  select_program(send, 5)
  set_value(insert, 46, 0.2512)
  set_value(insert, 63, 0.7)
  set_value(insert, 57, 0.4)
  select_program(send, 9)
  set_value(insert, 29, 0.3)
  set_value(insert, 46, 0.8537)
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorAuto, PBD.GroupControlDisposition.NoGroup)
  wait_ms(200)
end

dump_values(insert)
Session:save_state("", false, false, false, false, false)
say("OK " .. mode)
close_session()
