-- Children of a catalogue node; "0" asks for the top level.

-- @procedure MSS.sp_MSS_GetService
-- @param Code
SELECT Code, Description
  FROM MSS__tbMSSServiceCategory
 WHERE (:Code = '0' AND ParentCode IS NULL) OR ParentCode = :Code
 ORDER BY SortOrder, Code;

-- @procedure MSS.sp_MSS_GetActivity
-- @param Code
SELECT Code, Description
  FROM MSS__tbMSSActivity
 WHERE (:Code = '0' AND ParentCode IS NULL) OR ParentCode = :Code
 ORDER BY SortOrder, Code;
