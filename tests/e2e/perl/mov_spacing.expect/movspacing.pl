#!/usr/bin/perl 



$false = 0;
$true = 1;

$x = 1;
$src = 7;
$text="";
$x =  src;
printf("%i",$x);
printf("\n");
$x = $src;
printf("%i",$x);
printf("\n");
$text = "a, b: c";
printf($text);
printf("\n");
