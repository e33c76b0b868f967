//#DEPRECATED UBOLD
//#Description
// Replaced by a newer block; kept for old models.
//#Remarks
// Use the newer block instead.
