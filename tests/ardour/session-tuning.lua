-- The session's sound made measurable and its saved tuning kept, in any format.
--   ardour7-lua session-tuning.lua sine   SESSION_DIR DUMP   the session's current program
--       turned into one plain sine through Ardour's parameter controls, saved as the snapshot "sine"
--   ardour7-lua session-tuning.lua resave SESSION_DIR DUMP   the snapshot "tuned" reopened and
--       saved again by Ardour
-- sine writes the values Ardour holds to DUMP; resave writes nothing.

local common = dofile(debug.getinfo(1, "S").source:match("^@(.*/)") .. "session-common.lua")
local mode, folder, dump_path = arg[1], arg[2], arg[3]
local settle_ms = 100 -- VST 3 and LV2 hand a new value to the plug-in with a later cycle

-- Oscillator 3 alone as a sine, loud, filter bypassed, modulation and
-- effects off, a short release: each note's pitch reads from its zero crossings.
local sine = {
  { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 }, { 5, 0 }, { 6, 0 }, { 7, 0 },
  { 8, 0 }, { 9, 0.5 }, { 10, 0.5 }, { 11, 1 }, { 12, 0 }, { 13, 0 }, { 22, 0 }, { 28, 0 },
  { 31, 0 }, { 39, 1 }, { 50, 0 }, { 54, 0 }, { 57, 0 }, { 58, 0 }, { 59, 0 }, { 60, 0.5 },
  { 61, 1 }, { 62, 0.05 }, { 63, 0.9 },
}

common.start_engine()
if mode == "sine" then
  common.open(folder)
  local insert = common.plugin_of(common.track())
  for _, pair in ipairs(sine) do
    -- After a MIDI program change an LV2 host still shows the old program's
    -- values, and a control set to the value it shows changes nothing: such a
    -- control is moved away first, as a hand on the knob would.
    if math.abs(common.value(insert, pair[1]) - pair[2]) < 1e-6 then
      common.set_value(insert, pair[1], pair[2] < 0.5 and 1 or 0, settle_ms)
    end
    common.set_value(insert, pair[1], pair[2], settle_ms)
  end
  local out = io.open(dump_path, "w")
  out:write(common.values_line("sine", insert))
  out:close()
  common.save_and_close(mode, "sine")
elseif mode == "resave" then
  common.open(folder, "tuned")
  common.save_and_close(mode)
else
  common.fail("unknown mode " .. tostring(mode))
end
