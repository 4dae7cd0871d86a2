-- What the Ardour session scripts share: the Dummy engine, the session with one
-- MIDI track named "Synth", notes recorded from Ardour's virtual keyboard, value
-- dumps, program edits, and the VST 2 build swapped in for the format under test.
-- A script loads it with dofile(path) and gets this table back.

local M = {}

M.session_name = "grelmond"
M.vst2_id = "2053195634" -- the VST 2 build's unique id as Ardour names it

function M.say(...) print(...) io.stdout:flush() end
function M.fail(message) M.say("FAIL " .. message) os.exit(1) end
function M.wait_ms(ms) ARDOUR.LuaAPI.usleep(ms * 1000) end

function M.value(insert, index) return ARDOUR.LuaAPI.get_plugin_insert_param(insert, index, true) end

-- settle_ms: how long the new value takes to reach the plug-in (0: at once).
function M.set_value(insert, index, v, settle_ms)
  if not ARDOUR.LuaAPI.set_plugin_insert_param(insert, index, v) then M.fail("cannot set " .. index) end
  if settle_ms and settle_ms > 0 then M.wait_ms(settle_ms) end
end

-- "LABEL v0 ... v63": the 64 instrument parameters as Ardour holds them.
function M.values_line(label, insert)
  local line = { label }
  for i = 0, 63 do line[#line + 1] = string.format("%.9g", M.value(insert, i)) end
  return table.concat(line, " ") .. "\n"
end

-- edits: { { program = P, values = { { index, value }, ... } }, ... } in order;
-- select(P) makes P current, set(index, value) edits it.
function M.apply_edits(edits, select, set)
  for _, edit in ipairs(edits) do
    select(edit.program)
    for _, pair in ipairs(edit.values) do set(pair[1], pair[2]) end
  end
end

function M.keyboard_port()
  local _, ports = Session:engine():get_ports(ARDOUR.DataType("midi"), ARDOUR.PortList())
  for p in ports[2]:iter() do
    local async = p:to_asyncmidiport()
    if not async:isnil() and async:sends_output() and string.find(p:name(), "virtual") then return async end
  end
  M.fail("no virtual keyboard port")
end

-- A function sending one MIDI message (its bytes as arguments) through the port.
function M.sender(keyboard)
  local parser = ARDOUR.RawMidiParser()
  return function(...)
    parser:reset()
    for _, b in ipairs({ ... }) do
      if parser:process_byte(b) then keyboard:write(parser:midi_buffer(), parser:buffer_size(), 0) end
    end
  end
end

-- Five notes played into the track while it records; the track's input stays
-- connected to the keyboard, and send() is returned for later live messages.
function M.record_notes(track)
  local keyboard = M.keyboard_port()
  track:input():nth(0):connect(keyboard:name())
  local send = M.sender(keyboard)
  track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  Session:maybe_enable_record(false)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  M.wait_ms(300)
  for _, note in ipairs({ 45, 57, 60, 64, 69 }) do
    send(0x90, note, 100)
    M.wait_ms(250)
    send(0x80, note, 0)
    M.wait_ms(50)
  end
  M.wait_ms(700) -- the release rings into the region
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  M.wait_ms(500)
  track:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
  if track:playlist():region_list():size() ~= 1 then M.fail("nothing recorded") end
  return send
end

function M.start_engine()
  if not AudioEngine:set_backend("None (Dummy)", "", "") then M.fail("no Dummy backend") end
end

-- A new session at 48 kHz with the track and the plug-in on it, found by its
-- name (or id, or URI) and type; Ardour looks plug-ins up once a session is open.
function M.create(folder, plugin, plugin_type)
  if not create_session(folder, M.session_name, 48000) then M.fail("cannot create the session") end
  local info = ARDOUR.LuaAPI.new_plugin_info(plugin, plugin_type)
  if info:isnil() then M.fail("Ardour did not find the plug-in") end
  local tracks = Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
    ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), false, info, nil, nil, 1, "Synth",
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
  if tracks:size() ~= 1 then M.fail("no track") end
  return tracks:front()
end

-- snapshot: the session's own name unless given.
function M.open(folder, snapshot)
  if not load_session(folder, snapshot or M.session_name) then M.fail("cannot open the session") end
end

function M.track() return Session:route_by_name("Synth"):to_track() end

-- The track's first plug-in: its insert and the plug-in itself.
function M.plugin_of(track)
  local proc = track:nth_plugin(0)
  if proc:isnil() then M.fail("the track has no plug-in") end
  local insert = proc:to_insert()
  return insert, insert:plugin(0)
end

function M.vst2_program(plugin, index)
  local preset = plugin:preset_by_uri(string.format("VST:%s:%04d", M.vst2_id, index))
  if not preset or not preset.valid then M.fail("no program " .. index) end
  plugin:load_preset(preset)
end

-- The same sound from the other format: the track's plug-in replaced by the
-- VST 2 build with `program` current and its `values` edited as the session
-- under test has them, saved as the snapshot "vst2". Ends the script.
function M.swap_in_vst2(program, values, settle_ms)
  local route = Session:route_by_name("Synth")
  local other = route:nth_plugin(0)
  local vst2 = ARDOUR.LuaAPI.new_plugin(Session, M.vst2_id, ARDOUR.PluginType.LXVST, "")
  if vst2:isnil() then M.fail("Ardour did not find the VST 2 build") end
  if route:add_processor_by_index(vst2, 0, nil, true) ~= 0 then M.fail("cannot add the VST 2 build") end
  if route:remove_processor(other, nil, true) ~= 0 then M.fail("cannot remove the build under test") end
  local insert = vst2:to_insert()
  M.vst2_program(insert:plugin(0), program)
  for _, pair in ipairs(values) do M.set_value(insert, pair[1], pair[2], settle_ms) end
  M.save_and_close("vst2", "vst2")
  os.exit(0)
end

-- Saves the session (as `snapshot`, or under its own name) and reports mode.
function M.save_and_close(mode, snapshot)
  Session:save_state(snapshot or "", false, false, false, false, false)
  M.say("OK " .. mode)
  close_session()
end

return M
