-- Drives Grelmond's VST 3 bundle inside Ardour without a screen or sound card.
--   ardour7-lua session-vst3.lua make  SESSION_DIR DUMP   new session: a MIDI track with
--       the plug-in, a few recorded notes, programs 5 and 9 edited, 9 selected; saved
--   ardour7-lua session-vst3.lua check SESSION_DIR DUMP   the saved session reopened and saved again
-- Both write the live values, then every program's name and values, to DUMP.
-- A VST 3 host hands parameter values to the processor with its next cycle:
-- the script lets a few cycles pass after each change.

local mode, folder, dump_path = arg[1], arg[2], arg[3]
local name = "grelmond"
local plugin_name = "Grelmond" -- the name the factory gives its class
local class_id = "5A61764772656C6D6F6E645653543301" -- its fixed class id

local function say(...) print(...) io.stdout:flush() end
local function fail(message) say("FAIL " .. message) os.exit(1) end

local function wait_ms(ms) ARDOUR.LuaAPI.usleep(ms * 1000) end

-- Ardour lists the plug-in's program list as presets named by class id and index.
local function program_preset(plugin, index)
  local preset = plugin:preset_by_uri(string.format("VST3-P:%s:%04d", class_id, index))
  if not preset or not preset.valid then fail("no program " .. index) end
  return preset
end

local function select_program(plugin, index)
  plugin:load_preset(program_preset(plugin, index))
  wait_ms(60)
end

local function value(insert, index)
  local v = ARDOUR.LuaAPI.get_plugin_insert_param(insert, index, true)
  return v
end

local function set_value(insert, index, v)
  if not ARDOUR.LuaAPI.set_plugin_insert_param(insert, index, v) then fail("cannot set " .. index) end
  wait_ms(60)
end

local function dump_values(out, label, insert)
  local line = { label }
  for i = 0, 63 do line[#line + 1] = string.format("%.9g", value(insert, i)) end
  out:write(table.concat(line, " "), "\n")
end

-- The live values first (the current program as it was restored), then every
-- program; the current program is selected again afterwards.
local function dump(insert, plugin, current)
  local out = io.open(dump_path, "w")
  dump_values(out, "live", insert)
  for p = 0, 63 do
    select_program(plugin, p)
    dump_values(out, "program" .. p, insert)
    out:write("name" .. p .. " " .. program_preset(plugin, p).label:gsub(" ", "_") .. "\n")
  end
  out:close()
  select_program(plugin, current)
end

local function record_notes(track)
  local engine = Session:engine()
  local _, ports = engine:get_ports(ARDOUR.DataType("midi"), ARDOUR.PortList())
  local keyboard = nil
  for p in ports[2]:iter() do
    local async = p:to_asyncmidiport()
    if not async:isnil() and async:sends_output() and string.find(p:name(), "virtual") then keyboard = async end
  end
  if not keyboard then fail("no virtual keyboard port") end
  track:input():nth(0):connect(keyboard:name())
  track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  Session:maybe_enable_record(false)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  wait_ms(300)
  local parser = ARDOUR.RawMidiParser()
  local function send(status, note, velocity)
    parser:reset()
    for _, b in ipairs({ status, note, velocity }) do
      if parser:process_byte(b) then keyboard:write(parser:midi_buffer(), parser:buffer_size(), 0) end
    end
  end
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

if not AudioEngine:set_backend("None (Dummy)", "", "") then fail("no Dummy backend") end

local track
if mode == "make" then
  if not create_session(folder, name, 48000) then fail("cannot create the session") end
  local info = ARDOUR.LuaAPI.new_plugin_info(plugin_name, ARDOUR.PluginType.VST3)
  if info:isnil() then fail("Ardour did not find the plug-in") end
  local tracks = Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
    ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), false, info, nil, nil, 1, "Synth",
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
  if tracks:size() ~= 1 then fail("no track") end
  track = tracks:front()
else
  if not load_session(folder, name) then fail("cannot open the session") end
  track = Session:route_by_name("Synth"):to_track()
end

local proc = track:nth_plugin(0)
if proc:isnil() then fail("the track has no plug-in") end
local insert = proc:to_insert()
local plugin = insert:plugin(0)

if mode == "make" then
  record_notes(track)
  -- Edits on the bank file's three-decimal grid.
  select_program(plugin, 5)
  set_value(insert, 46, 0.25)
  set_value(insert, 63, 0.7)
  set_value(insert, 57, 0.4)
  select_program(plugin, 9)
  set_value(insert, 29, 0.3)
  set_value(insert, 46, 0.85)
  if math.abs(value(insert, 46) - 0.85) > 1e-6 then fail("cutoff reads back as " .. value(insert, 46)) end
end

dump(insert, plugin, 9)
Session:save_state("", false, false, false, false, false)
say("OK " .. mode)
close_session()
