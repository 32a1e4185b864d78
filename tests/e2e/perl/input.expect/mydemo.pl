#!/usr/bin/perl 



$false = 0;
$true = 1;

$name="";
chomp($name = <STDIN>);
printf("hello ");
printf($name);
printf("\n");
