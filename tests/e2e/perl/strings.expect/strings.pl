#!/usr/bin/perl 



$false = 0;
$true = 1;

$s = "ab";
$t = "cd";
$n = 4;
$s="$s$t";
$s .= "!";
$s="$s$n";
$s .= 5;
printf($s);
printf("\n");
