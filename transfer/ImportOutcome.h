#pragma once

// What an asset record came to, as a download counts it. Any value not named
// here is the stored result set's overall result (a result status code).
enum ImportOutcome {
    ImportNoResults = -1,     // no result data; asset, applied parts and sequence still written
    ImportAlert = 5,          // the compare with the previous result set raised an alert
    ImportAlreadyStored = 6   // a result set of this asset with this date exists; nothing added
};
