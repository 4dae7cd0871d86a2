-- Makes a session for timing the plug-in inside Ardour: one MIDI track with
-- Grelmond on the heavy voder patch, a chord of NOTES notes held HOLD seconds.
--   ardour7-lua chord_session.lua SESSION_DIR NOTES HOLD
-- The notes go in through Ardour's virtual keyboard while recording, so the
-- region holds what Ardour really took in; the script prints what it recorded.
-- NOTES 0 records one note and deletes it: Ardour keeps no empty take, and an
-- idle session should be as long as the others.

local folder, wanted, hold = arg[1], tonumber(arg[2]), tonumber(arg[3])
local note_count = math.max(wanted, 1)
local name = "grelmond"
local plugin_id = "2053195634" -- the unique id as Ardour names it

local function say(...) print(...) io.stdout:flush() end
local function fail(message) say("FAIL " .. message) os.exit(1) end
local function wait_ms(ms) ARDOUR.LuaAPI.usleep(math.floor(ms * 1000)) end

-- The patch of the render benchmark's voder case with effects on: all three
-- oscillators, "12 Voder 1" at full amount, voices held by the amp sustain,
-- ten ensemble copies, flanger, chorus and both delays.
local patch = {
  [3] = 0.8, [7] = 0.8, [11] = 0.8,
  [57] = 11.5 / 25.1, [58] = 1.0, [61] = 1.0,
  [28] = 1.0, [29] = 1.0, [22] = 0.6, [31] = 1.0, [41] = 1.0,
  [50] = 0.5, [54] = 0.5, [51] = 0.5, [55] = 0.5,
}

local function keyboard_port()
  local _, ports = Session:engine():get_ports(ARDOUR.DataType("midi"), ARDOUR.PortList())
  for p in ports[2]:iter() do
    local async = p:to_asyncmidiport()
    if not async:isnil() and async:sends_output() and string.find(p:name(), "virtual") then return async end
  end
  fail("no virtual keyboard port")
end

-- The chord's notes spread evenly over the whole MIDI range: all 128 keys,
-- or every eighth key for 16 notes.
local function chord_note(i) return math.floor(i * 128 / note_count) end

-- Notes go out sixteen at a time so no port buffer overflows; the whole
-- chord is in within a few cycles.
local function play_chord(keyboard, status, velocity)
  local parser = ARDOUR.RawMidiParser()
  for first = 0, note_count - 1, 16 do
    for i = first, math.min(first + 15, note_count - 1) do
      local note = chord_note(i)
      parser:reset()
      for _, b in ipairs({ status, note, velocity }) do
        if parser:process_byte(b) then keyboard:write(parser:midi_buffer(), parser:buffer_size(), 0) end
      end
    end
    wait_ms(5)
  end
end

local function record_chord(track)
  local keyboard = keyboard_port()
  track:input():nth(0):connect(keyboard:name())
  track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  Session:maybe_enable_record(false)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  wait_ms(300)
  if note_count > 0 then play_chord(keyboard, 0x90, 100) end
  wait_ms(hold * 1000)
  if note_count > 0 then play_chord(keyboard, 0x80, 0) end
  wait_ms(1500) -- the release rings into the region
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  wait_ms(500)
  track:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
  local regions = track:playlist():region_list()
  if regions:size() ~= 1 then fail("recorded " .. regions:size() .. " regions") end
  for region in regions:iter() do return region end
end

-- Beats reach Lua only as text, "beats:ticks" at 1920 ticks a beat.
local function beats(b)
  local whole, ticks = string.match(b:str(), "(-?%d+):(%d+)")
  return tonumber(whole) + tonumber(ticks) / 1920
end

local function delete_notes(region)
  local model = region:to_midiregion():model()
  local command = model:new_note_diff_command("idle")
  for note in ARDOUR.LuaAPI.note_list(model):iter() do command:remove(note) end
  model:apply_command(Session, command)
end

local function describe(region)
  local rate = Session:nominal_sample_rate()
  say(string.format("region %.3f s from %.3f s", region:length():samples() / rate, region:position():samples() / rate))
  local model = region:to_midiregion():model()
  local count, pitches, first, last, shortest, longest = 0, {}, math.huge, -math.huge, math.huge, 0
  for note in ARDOUR.LuaAPI.note_list(model):iter() do
    count = count + 1
    pitches[note:note()] = true
    local t, d = beats(note:time()), beats(note:length())
    first, last = math.min(first, t), math.max(last, t)
    shortest, longest = math.min(shortest, d), math.max(longest, d)
  end
  local distinct, low, high = 0, 127, 0
  for pitch in pairs(pitches) do
    distinct, low, high = distinct + 1, math.min(low, pitch), math.max(high, pitch)
  end
  say(string.format("notes %d (distinct pitches %d)", count, distinct))
  if count > 0 then
    say(string.format("pitches %d..%d", low, high))
    say(string.format("note starts %.4f..%.4f beats, lengths %.3f..%.3f beats (a beat is 0.5 s at the new session's 120 bpm)", first, last, shortest, longest))
  end
  say(string.format("sample rate %d, block %d", rate, Session:get_block_size()))
end

if not AudioEngine:set_backend("None (Dummy)", "", "") then fail("no Dummy backend") end
if not create_session(folder, name, 48000) then fail("cannot create the session") end
local info = ARDOUR.LuaAPI.new_plugin_info(plugin_id, ARDOUR.PluginType.LXVST)
if info:isnil() then fail("Ardour did not find the plug-in") end
local tracks = Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
  ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), false, info, nil, nil, 1, "Synth",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
if tracks:size() ~= 1 then fail("no track") end
local track = tracks:front()
local insert = track:nth_plugin(0):to_insert()
for index, v in pairs(patch) do
  if not ARDOUR.LuaAPI.set_plugin_insert_param(insert, index, v) then fail("cannot set " .. index) end
end
local region = record_chord(track)
if wanted == 0 then delete_notes(region) end
describe(region)
Session:save_state("", false, false, false, false, false)
say("OK")
close_session()
